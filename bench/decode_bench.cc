// Decoding whole files line by line to UTF-16, as the loader does, in process.
//   decode_bench [benchmark flags] FILE...
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "decode/decode.h"

namespace {

// Reads every line of the file and converts it; returns the units produced.
long decode_whole_file(const char* path, int mode) {
  using namespace yomite;
  TextStream in;
  if (!stream_open(in, path)) return -1;
  skip_byte_order_mark(in, mode);
  static std::vector<unsigned char> bytes(LINE_CAPACITY);
  static std::vector<char16_t> units(LINE_CAPACITY);
  long total = 0;
  for (;;) {
    if (mode == ENC_UTF16LE || mode == ENC_UTF16BE) {
      if (!read_utf16_line(units.data(), LINE_CAPACITY, in, mode)) break;
      total += static_cast<long>(std::char_traits<char16_t>::length(units.data()));
    } else {
      int n = read_byte_line(bytes.data(), LINE_CAPACITY, in, mode, 0, 0, nullptr);
      if (n < 0) break;
      total += byte_line_to_utf16(mode, 932, bytes.data(), n, units.data(), LINE_CAPACITY);
    }
  }
  stream_close(in);
  return total;
}

void BM_Decode(benchmark::State& state, std::string path) {
  int mode = yomite::detect_encoding(path.c_str());
  long units = 0;
  for (auto _ : state) {
    units = decode_whole_file(path.c_str(), mode);
    benchmark::DoNotOptimize(units);
  }
  state.counters["chars"] = static_cast<double>(units);
  state.SetLabel(std::to_string(mode));
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    std::string path = argv[i];
    std::string name = "decode/" + path.substr(path.find_last_of('/') + 1);
    benchmark::RegisterBenchmark(name.c_str(), BM_Decode, path)->Unit(benchmark::kMillisecond);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
