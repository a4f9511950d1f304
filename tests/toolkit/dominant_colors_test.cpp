// Dominant colours: the Part's known answers, then the fast implementation
// held against the literal one (text keys, counted, sorted, filtered) on many
// generated Bitmaps at every detail level, ties and clamped votes included.
#include "toolkit/image/dominant_colors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "platform/coregraphics/cg_color_space.h"
#include "platform/coregraphics/cg_context.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_object.h"
#include "platform/objc/message.h"
#include "platform/uikit/ui_color.h"
#include "toolkit/image/ui_color_images.h"

namespace {

using toolkit::Bitmap;
using toolkit::DominantColor;
using toolkit::PremultipliedPixel;

Bitmap filled(int side, const std::vector<PremultipliedPixel>& cycle) {
  Bitmap bitmap = *Bitmap::make(side, side);
  for (int i = 0; i < side * side; ++i)
    bitmap.set_pixel(i % side, i / side, cycle[i % cycle.size()]);
  return bitmap;
}

TEST(DominantColors, KnownAnswers) {
  const PremultipliedPixel black{0, 0, 0, 255}, white{255, 255, 255, 255}, red{255, 0, 0, 255};
  // Votes, not pixels: black gives 0,0,0 eight times per pixel.
  EXPECT_EQ(toolkit::dominant_colors(filled(4, {black, white}), 0),
            (std::vector<DominantColor>{{0, 0, 0, 64.0f / 72}, {254, 254, 254, 8.0f / 72}}));
  // Equal votes go to the smallest key: 254 of 254, 255, 256 at detail 0, and
  // 253 of 253-255 at detail 1 (and every other level but 0 and 2).
  EXPECT_EQ(toolkit::dominant_colors(filled(4, {red}), 0),
            (std::vector<DominantColor>{{254, 0, 0, 1.0f}}));
  for (int detail : {1, 5, -1}) {
    EXPECT_EQ(toolkit::dominant_colors(filled(10, {red}), detail),
              (std::vector<DominantColor>{{253, 0, 0, 1.0f}}))
        << detail;
  }
  const auto two = toolkit::dominant_colors(filled(4, {{200, 30, 30, 255}, {30, 30, 200, 255}}), 0);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[0].share, 0.5f);
  EXPECT_EQ(two[1].share, 0.5f);
  // Tied, so the smaller key, the blue pixel's, comes first.
  EXPECT_LE(std::abs(two[0].blue - 200) + std::abs(two[1].red - 200), 2);
  EXPECT_EQ(toolkit::dominant_detail(2).side, 100);
  EXPECT_EQ(toolkit::dominant_detail(7).tolerance, 60);
}

// Bitmaps of several kinds: noise, a few colours (many ties), values near 0
// and 255 (clamped votes), smooth gradients with noise (photo-like).
Bitmap generated(int side, int kind, std::mt19937& random) {
  std::uniform_int_distribution<int> byte(0, 255), small(0, 12), palette_index(0, 3);
  std::normal_distribution<double> noise(0, 6);
  const PremultipliedPixel palette[4] = {
      {255, 0, 0, 255}, {0, 0, 0, 0}, {7, 250, 3, 255}, {128, 128, 128, 255}};
  Bitmap bitmap = *Bitmap::make(side, side);
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      PremultipliedPixel p{};
      switch (kind) {
        case 0:
          p = {std::uint8_t(byte(random)), std::uint8_t(byte(random)), std::uint8_t(byte(random)),
               255};
          break;
        case 1:
          p = palette[palette_index(random)];
          break;
        case 2:
          p = {std::uint8_t(small(random)), std::uint8_t(255 - small(random)),
               std::uint8_t(small(random)), 255};
          break;
        default: {
          auto channel = [&](double v) {
            return std::uint8_t(std::clamp(v + noise(random), 0.0, 255.0));
          };
          p = {channel(255.0 * x / side), channel(128 + 100 * std::sin(y * 0.1)), channel(60.0),
               255};
        }
      }
      bitmap.set_pixel(x, y, p);
    }
  }
  return bitmap;
}

TEST(DominantColors, FastMatchesTheLiteralAlgorithmOnGeneratedBitmaps) {
  std::mt19937 random(17);
  for (int detail : {0, 1, 2}) {
    // Detail 2's literal count is slow at its full side; smaller Bitmaps keep
    // its radius and tolerance.
    const int side = detail == 2 ? 14 : toolkit::dominant_detail(detail).side;
    for (int round = 0; round < 12; ++round) {
      const Bitmap bitmap = generated(side, round % 4, random);
      EXPECT_EQ(toolkit::dominant_colors(bitmap, detail),
                toolkit::dominant_colors_literal(bitmap, detail))
          << "detail " << detail << " round " << round;
    }
  }
  // A larger photo-like Bitmap at detail 2 (the benchmark holds the two
  // together at the full side of 100).
  const Bitmap photo = generated(40, 3, random);
  EXPECT_EQ(toolkit::dominant_colors(photo, 2), toolkit::dominant_colors_literal(photo, 2));
}

TEST(DominantColors, TheCategoryMapsColorsToShares) {
  ns::AutoreleasePool pool;
  toolkit::register_color_image_category();
  id none = objc::msg<id>(objc_getClass("UIColor"), "mainColoursInImage:detail:", nil, 2);
  const auto items = ns::dictionary_items(none);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(ui::color_value(items[0].first), cg::ColorComponents::rgb(0, 0, 0, 1));
  EXPECT_EQ(objc::msg<float>(items[0].second, "floatValue"), 1.0f);
}

}  // namespace
