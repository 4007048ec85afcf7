// Measuring 10,000 distinct characters with the real fonts: cold (a new font
// and an empty width cache: one shaping per character) and warm (every
// width from the cache). The ratio cold / warm is what the cache saves.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "layout/fonts.h"

namespace yomite {
namespace {

constexpr int DISTINCT = 10000;

std::vector<char16_t> distinct_characters() {
  std::vector<char16_t> text;
  for (int i = 0; i < DISTINCT; ++i) text.push_back(static_cast<char16_t>(0x4E00 + i));
  return text;
}

int measure_all(MeasureContext& measure, ViewContext& view, const std::vector<char16_t>& text) {
  int sum = 0;
  TextExtent e;
  for (char16_t c : text) {
    measure_text(measure, &c, 1, e, view);
    sum += e.cx;
  }
  return sum;
}

void BM_MeasureCold(benchmark::State& state) {
  const std::vector<char16_t> text = distinct_characters();
  const char* face = state.range(0) ? "@ＭＳ ゴシック" : "ＭＳ ゴシック";
  for (auto _ : state) {
    ViewContext view;
    MeasureContext measure{platform::font_create(face, 18, 0)};
    benchmark::DoNotOptimize(measure_all(measure, view, text));
    platform::font_delete(measure.font);
  }
  state.SetItemsProcessed(state.iterations() * DISTINCT);
}

void BM_MeasureWarm(benchmark::State& state) {
  const std::vector<char16_t> text = distinct_characters();
  ViewContext view;
  MeasureContext measure{platform::font_create("@ＭＳ ゴシック", 18, 0)};
  measure_all(measure, view, text);
  for (auto _ : state) benchmark::DoNotOptimize(measure_all(measure, view, text));
  state.SetItemsProcessed(state.iterations() * DISTINCT);
  platform::font_delete(measure.font);
}

BENCHMARK(BM_MeasureCold)->Arg(0)->Arg(1)->ArgName("vertical")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MeasureWarm)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace yomite

BENCHMARK_MAIN();
