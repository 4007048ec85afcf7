// Searching a laid-out text as the viewer's find window does, in process:
// a word that is nowhere in it (every character of the text is looked at)
// and one that is there many times.
//   search_bench [benchmark flags] FILE ABSENT PRESENT
// The words are UTF-8. scripts/bench search compares the first with grep -c
// on the same file.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/open_view.h"
#include "decode/decode.h"
#include "viewer/search.h"

namespace {

using namespace yomite;

void BM_Find(benchmark::State& state, const ViewContext* v, std::string word) {
  const SearchPattern pattern = make_search_pattern(utf8_to_u16string(word), SearchOptions{});
  std::size_t matches = 0;
  for (auto _ : state) {
    std::vector<TextRange> found = find_all(v->doc, pattern);
    matches = found.size();
    benchmark::DoNotOptimize(found.data());
  }
  state.counters["matches"] = static_cast<double>(matches);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: search_bench [benchmark flags] FILE ABSENT PRESENT\n");
    return 1;
  }
  ViewContext v;
  bench::open_view(v, argv[1]);
  benchmark::RegisterBenchmark("find/absent", BM_Find, &v, std::string(argv[2]))
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("find/present", BM_Find, &v, std::string(argv[3]))
      ->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  release_document(v);
  return 0;
}
