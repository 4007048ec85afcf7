// Open to laid out: the probe, the fonts (Cairo backend, IPA fonts, a
// cold width cache) and the full load of a whole file, in process; and the
// resident memory the laid-out document keeps per character.
//   load_bench [benchmark flags] FILE... [--notation FILE...]
// Files after --notation are loaded with the full notation off and on.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "bench/open_view.h"

namespace {

using namespace yomite;

// Resident set size in bytes, from /proc/self/statm.
long resident_bytes() {
  long pages_total = 0, pages_resident = 0;
  if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages_total, &pages_resident) != 2) pages_resident = 0;
    std::fclose(f);
  }
  return pages_resident * sysconf(_SC_PAGESIZE);
}

long characters(const ViewContext& v) {
  long n = 0;
  for (int j = 0; j < v.doc.line_count; ++j)
    n += static_cast<long>(std::char_traits<char16_t>::length(line_text(v.doc, v.doc.lines[j])));
  return n;
}

void BM_Load(benchmark::State& state, std::string path, int full_notation, int book) {
  long lines = 0, chars = 0;
  for (auto _ : state) {
    ViewContext v;
    bench::open_view(v, path, full_notation, book);
    lines = v.doc.line_count;
    release_document(v);
  }
  // Memory: one more load, kept, measured from before it.
  ViewContext v;
  long before = resident_bytes();
  bench::open_view(v, path, full_notation, book);
  long after = resident_bytes();
  chars = characters(v);
  state.counters["display_lines"] = static_cast<double>(lines);
  state.counters["chars"] = static_cast<double>(chars);
  state.counters["rss_bytes_per_char"] = chars ? static_cast<double>(after - before) / chars : 0;
  release_document(v);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  bool notation = false;
  for (int i = 1; i < argc; ++i) {
    std::string path = argv[i];
    if (path == "--notation") {
      notation = true;
      continue;
    }
    std::string file = path.substr(path.find_last_of('/') + 1);
    if (notation) {
      for (int on = 0; on <= 1; ++on)
        benchmark::RegisterBenchmark(((on ? "notation-on/" : "notation-off/") + file).c_str(),
                                     BM_Load, path, on, 0)
            ->Unit(benchmark::kMillisecond);
      continue;
    }
    benchmark::RegisterBenchmark(("load/" + file).c_str(), BM_Load, path, 0, 0)
        ->Unit(benchmark::kMillisecond);
    // The same in book composition, against the line above.
    benchmark::RegisterBenchmark(("load_book/" + file).c_str(), BM_Load, path, 0, 1)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
