// The colour text is formed on every background the app assigns (the
// background mapping compares it with its table), so it must stay cheap:
// no allocation, no formatting library.
#include <benchmark/benchmark.h>

#include <array>

#include "toolkit/color/color.h"

namespace {

using cg::ColorComponents;

const std::array<ColorComponents, 6> kColors = {
    ColorComponents::rgb(1.0, 1.0, 1.0, 1.0),
    ColorComponents::rgb(27 / 255.0, 27 / 255.0, 27 / 255.0, 1.0),
    ColorComponents::rgb(81 / 255.0, 184 / 255.0, 1.0, 0.5),
    ColorComponents::grey(0.933, 1.0),
    ColorComponents::grey(0.0, 0.0),
    ColorComponents::rgb(-0.1, 1.2, 0.0, 1.0),
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

void BM_ColorFromHex(benchmark::State& state) {
  for (auto _ : state) {
    auto color = toolkit::color_from_hex(std::u16string_view(u"#1B1B1B"));
    benchmark::DoNotOptimize(color);
  }
}
BENCHMARK(BM_ColorFromHex);

}  // namespace
