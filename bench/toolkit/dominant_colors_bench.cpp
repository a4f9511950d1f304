// Dominant colours at detail 2 of a photo-like image: the literal algorithm
// (text keys, counted, sorted, filtered) against the grid count with a
// best-first filter, on the same 100 by 100 Bitmap, with the same result.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "platform/coregraphics/cg_color_space.h"
#include "platform/coregraphics/cg_context.h"
#include "platform/foundation/ns_object.h"
#include "platform/objc/message.h"
#include "toolkit/image/bitmap_drawing.h"
#include "toolkit/image/dominant_colors.h"
#include "toolkit/image/ui_color_images.h"

namespace {

// A 640 by 480 picture: a sky gradient over a darker ground, a sun, and
// sensor noise, drawn down to the 100 by 100 Bitmap as the operation does.
id photo() {
  static id image = [] {
    const std::size_t w = 640, h = 480;
    std::vector<std::uint8_t> bytes(w * h * 4);
    std::mt19937 random(3);
    std::normal_distribution<double> noise(0, 4);
    for (std::size_t y = 0; y < h; ++y) {
      for (std::size_t x = 0; x < w; ++x) {
        double r, g, b;
        if (y < h * 0.6) {
          r = 90 + 80.0 * y / h;
          g = 140 + 60.0 * y / h;
          b = 230 - 30.0 * x / w;
        } else {
          r = 70 + 40 * std::sin(x * 0.05);
          g = 100 + 30 * std::cos(y * 0.07);
          b = 40 + 20.0 * x / w;
        }
        if (std::hypot(x - 480.0, y - 90.0) < 40) r = 255, g = 230, b = 150;
        std::uint8_t* p = &bytes[(y * w + x) * 4];
        for (double v : {r, g, b})
          *p++ = static_cast<std::uint8_t>(std::clamp(v + noise(random), 0.0, 255.0));
        *p = 255;
      }
    }
    CGContextRef context =
        CGBitmapContextCreate(bytes.data(), w, h, 8, w * 4, CGColorSpaceCreateDeviceRGB(), 0x4001);
    CGImageRef pixels = CGBitmapContextCreateImage(context);
    id made = objc::msg<id>(objc_getClass("UIImage"), "imageWithCGImage:", pixels);
    objc::msg<id>(made, "retain");
    CGImageRelease(pixels);
    CGContextRelease(context);
    return made;
  }();
  return image;
}

const toolkit::Bitmap& bitmap() {
  static const toolkit::Bitmap drawn =
      *toolkit::draw_into_bitmap(photo(), 100, 100, toolkit::DrawBlend::kNormal);
  return drawn;
}

void BM_DominantColorsLiteral(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(toolkit::dominant_colors_literal(bitmap(), 2));
  state.counters["colors"] = static_cast<double>(toolkit::dominant_colors(bitmap(), 2).size());
}
BENCHMARK(BM_DominantColorsLiteral)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_DominantColorsFast(benchmark::State& state) {
  if (toolkit::dominant_colors(bitmap(), 2) != toolkit::dominant_colors_literal(bitmap(), 2)) {
    state.SkipWithError("the two results differ");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(toolkit::dominant_colors(bitmap(), 2));
}
BENCHMARK(BM_DominantColorsFast)->Unit(benchmark::kMillisecond);

// The whole category method: drawing the photo down, counting, the dictionary.
void BM_MainColorsInImage(benchmark::State& state) {
  toolkit::register_color_image_category();
  for (auto _ : state) {
    ns::AutoreleasePool pool;
    benchmark::DoNotOptimize(
        objc::msg<id>(objc_getClass("UIColor"), "mainColoursInImage:detail:", photo(), 2));
  }
}
BENCHMARK(BM_MainColorsInImage)->Unit(benchmark::kMillisecond);

}  // namespace
