// The colour text is formed on every background the app assigns (the
// background mapping compares it with its table), so it must stay cheap:
// no allocation, no formatting library.
#include <benchmark/benchmark.h>

#include <array>

#include "toolkit/color/color.h"

namespace {

using toolkit::Color;

const std::array<Color, 6> kColors = {
    Color::rgb(1.0, 1.0, 1.0, 1.0),
    Color::rgb(27 / 255.0, 27 / 255.0, 27 / 255.0, 1.0),
    Color::rgb(81 / 255.0, 184 / 255.0, 1.0, 0.5),
    Color::grey(0.933, 1.0),
    Color::grey(0.0, 0.0),
    Color::rgb(-0.1, 1.2, 0.0, 1.0),
};

void BM_ColorText(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    auto text = toolkit::color_text(kColors[i++ % kColors.size()]);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_ColorText);

void BM_ColorTextCompared(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    const bool white = toolkit::color_text(kColors[i++ % kColors.size()]) == "#FFFFFF";
    benchmark::DoNotOptimize(white);
  }
}
BENCHMARK(BM_ColorTextCompared);


}  // namespace
