// Every page of a whole text to PDF, against opening the same text (probe,
// fonts, full load) in the same run.
//   bench_render [benchmark flags] FILE
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/open_view.h"
#include "document/load.h"
#include "platform/cairo/render_page.h"

namespace yomite {

namespace {

void BM_LoadAndLayout(benchmark::State& state, std::string path) {
  for (auto _ : state) {
    ViewContext v;
    bench::open_view(v, path);
    release_document(v);
  }
}

void BM_AllPagesPdf(benchmark::State& state, std::string path) {
  ViewContext v;
  bench::open_view(v, path);
  const std::string out = path + ".pdf";
  for (auto _ : state) benchmark::DoNotOptimize(render_pages_pdf(v, out.c_str()));
  state.counters["pages"] = page_count(v);
  std::remove(out.c_str());
  release_document(v);
}

}  // namespace
}  // namespace yomite

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_render [benchmark flags] FILE\n");
    return 2;
  }
  std::string path = argv[1];
  benchmark::RegisterBenchmark("load", yomite::BM_LoadAndLayout, path)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("pdf", yomite::BM_AllPagesPdf, path)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(1);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
