// The bitmap context's pixel layouts and its compositing, checked against the
// plain formulas with one rounding and no tolerance: fills at partial
// coverage, normal and copy blending, scaled drawing (exact area averages
// when shrinking, bilinear when growing), flips and clips.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "platform/coregraphics/cg_color_space.h"
#include "platform/coregraphics/cg_context.h"

namespace {

using Pixel = std::array<std::uint8_t, 4>;

std::uint8_t once(double v) { return static_cast<std::uint8_t>(std::floor(v + 0.5)); }

// An RGBA context (bitmap info 0x4001) over the test's own memory.
struct Canvas {
  explicit Canvas(std::size_t w, std::size_t h, std::uint32_t info = kCGBitmapRGBAPremultiplied)
      : width(w),
        height(h),
        bytes(w * h * 4, 0),
        context(CGBitmapContextCreate(bytes.data(), w, h, 8, w * 4, CGColorSpaceCreateDeviceRGB(),
                                      info)) {}
  ~Canvas() { CGContextRelease(context); }
  Pixel at(std::size_t x, std::size_t y) const {
    const std::uint8_t* p = &bytes[(y * width + x) * 4];
    return {p[0], p[1], p[2], p[3]};
  }
  void set(std::size_t x, std::size_t y, Pixel p) {
    std::copy(p.begin(), p.end(), &bytes[(y * width + x) * 4]);
  }
  CGImageRef image() const { return CGBitmapContextCreateImage(context); }
  std::size_t width, height;
  std::vector<std::uint8_t> bytes;
  CGContextRef context;
};

TEST(BitmapLayout, RgbaBytesRowZeroOnTopAndFillsPremultiply) {
  Canvas canvas(2, 2);
  ASSERT_NE(canvas.context, nullptr);
  // The bottom half in CoreGraphics' y-up coordinates is memory row 1.
  CGContextSetRGBFillColor(canvas.context, 1.0, 0.5, 0.0, 0.5);
  CGContextFillRect(canvas.context, CGRectMake(0, 0, 2, 1));
  EXPECT_EQ(canvas.at(0, 0), (Pixel{0, 0, 0, 0}));
  // 255 × 0.5 = 127.5 rounds up; 0.5 × 0.5 × 255 = 63.75 rounds to 64.
  EXPECT_EQ(canvas.at(0, 1), (Pixel{128, 64, 0, 128}));
  EXPECT_EQ(CGBitmapContextGetBitmapInfo(canvas.context), 0x4001u);
  EXPECT_EQ(CGBitmapContextGetAlphaInfo(canvas.context), 1u);
}

TEST(BitmapLayout, EachAlphaInfoAndByteOrderPlacesItsBytes) {
  struct Row {
    std::uint32_t info;
    Pixel expected;  // opaque red at alpha 0.5 in memory order
  };
  const Row rows[] = {
      // 0x2001 stores the word R,G,B,A little-endian: A, B, G, R.
      {0x0001, {128, 0, 0, 128}}, {0x4001, {128, 0, 0, 128}}, {0x2001, {128, 0, 0, 128}},
      {0x0002, {128, 128, 0, 0}}, {0x2002, {0, 0, 128, 128}}, {0x0005, {128, 0, 0, 255}},
      {0x0006, {255, 128, 0, 0}}, {0x2006, {0, 0, 128, 255}},
  };
  for (const Row& row : rows) {
    Canvas canvas(1, 1, row.info);
    ASSERT_NE(canvas.context, nullptr) << std::hex << row.info;
    CGContextSetRGBFillColor(canvas.context, 1, 0, 0, 0.5);
    CGContextFillRect(canvas.context, CGRectMake(0, 0, 1, 1));
    EXPECT_EQ(canvas.at(0, 0), row.expected) << std::hex << row.info;
  }
  // Layouts the context does not draw into give no context.
  for (std::uint32_t info : {0u, 3u, 4u, 0x3001u}) {
    std::uint8_t memory[4];
    EXPECT_EQ(CGBitmapContextCreate(memory, 1, 1, 8, 4, CGColorSpaceCreateDeviceRGB(), info),
              nullptr);
  }
  // Grey in one byte, alpha only in one byte.
  std::uint8_t grey = 0, alpha = 0;
  CGContextRef g = CGBitmapContextCreate(&grey, 1, 1, 8, 1, CGColorSpaceCreateDeviceGray(), 0);
  CGContextRef a = CGBitmapContextCreate(&alpha, 1, 1, 8, 1, nullptr, 7);
  CGContextSetRGBFillColor(g, 0.5, 0.5, 0.5, 1);
  CGContextSetRGBFillColor(a, 0.5, 0.5, 0.5, 0.25);
  CGContextFillRect(g, CGRectMake(0, 0, 1, 1));
  CGContextFillRect(a, CGRectMake(0, 0, 1, 1));
  EXPECT_EQ(grey, 128);
  EXPECT_EQ(alpha, 64);
  CGContextRelease(g);
  CGContextRelease(a);
}

TEST(BitmapLayout, SizesOutsideTheBudgetGiveNoContext) {
  for (std::size_t side : {std::size_t{0}, std::size_t{1} << 16, SIZE_MAX}) {
    EXPECT_EQ(CGBitmapContextCreate(nullptr, side, 4, 8, 0, CGColorSpaceCreateDeviceRGB(), 0x4001),
              nullptr);
  }
  // Short rows are refused; no memory given means the context's own, zeroed.
  EXPECT_EQ(CGBitmapContextCreate(nullptr, 4, 4, 8, 8, CGColorSpaceCreateDeviceRGB(), 0x4001),
            nullptr);
  CGContextRef own = CGBitmapContextCreate(nullptr, 4, 4, 8, 0, CGColorSpaceCreateDeviceRGB(), 1);
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(CGBitmapContextGetBytesPerRow(own), 16u);
  EXPECT_EQ(static_cast<std::uint8_t*>(CGBitmapContextGetData(own))[63], 0);
  CGContextRelease(own);
}

// Normal and copy blending at fractional coverage against the formulas.
TEST(Compositing, FillsMatchTheFormulasAtEveryCoverage) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int trial = 0; trial < 200; ++trial) {
    Canvas canvas(1, 1);
    const int da = byte(random);
    const Pixel d{static_cast<std::uint8_t>(byte(random) * da / 255),
                  static_cast<std::uint8_t>(byte(random) * da / 255),
                  static_cast<std::uint8_t>(byte(random) * da / 255),
                  static_cast<std::uint8_t>(da)};
    canvas.set(0, 0, d);
    const double color[4] = {byte(random) / 255.0, byte(random) / 255.0, byte(random) / 255.0,
                             byte(random) / 255.0};
    const double k = (trial % 5) / 4.0;  // covered share of the pixel
    const bool copy = trial % 2 == 1;
    CGContextSetBlendMode(canvas.context, copy ? kCGBlendModeCopy : kCGBlendModeNormal);
    CGContextSetRGBFillColor(canvas.context, color[0], color[1], color[2], color[3]);
    CGContextFillRect(canvas.context, CGRectMake(0, 0, k, 1));
    const Pixel out = canvas.at(0, 0);
    const double sa = color[3] * 255.0;
    for (int c = 0; c < 4; ++c) {
      const double s = c == 3 ? sa : color[c] * color[3] * 255.0;
      const double keep = copy ? 1.0 - k : 1.0 - k * sa / 255.0;
      EXPECT_EQ(out[c], once(k * s + keep * d[c])) << "trial " << trial << " channel " << c;
    }
  }
}

// Shrinking averages by exact covered areas; growing interpolates.
TEST(Compositing, ScaledDrawingAveragesWhenShrinkingAndInterpolatesWhenGrowing) {
  Canvas source(3, 2);
  const Pixel pixels[6] = {{30, 0, 0, 255},  {60, 0, 0, 255}, {90, 0, 0, 255},
                           {0, 120, 0, 120}, {0, 0, 0, 0},    {10, 10, 10, 10}};
  for (int i = 0; i < 6; ++i) source.set(i % 3, i / 3, pixels[i]);
  CGImageRef image = source.image();

  Canvas one(1, 1);
  CGContextDrawImage(one.context, CGRectMake(0, 0, 1, 1), image);
  for (int c = 0; c < 4; ++c) {
    double sum = 0;
    for (const Pixel& p : pixels) sum += p[c] / 6.0;
    EXPECT_EQ(one.at(0, 0)[c], once(sum)) << c;
  }
  // Two columns from three: the first covers 1.5 source columns.
  Canvas two(2, 1);
  CGContextDrawImage(two.context, CGRectMake(0, 0, 2, 1), image);
  // Red: the top row gives 30 × 2/3 + 60 × 1/3 = 40, the bottom row 0.
  EXPECT_EQ(two.at(0, 0)[0], 20);
  // Growing: six columns from three; the second sits a quarter of the way
  // from the first source centre to the second.
  Canvas wide(6, 2);
  CGContextDrawImage(wide.context, CGRectMake(0, 0, 6, 2), image);
  EXPECT_EQ(wide.at(0, 0)[0], 30);
  EXPECT_EQ(wide.at(1, 0)[0], once(30 * 0.75 + 60 * 0.25));
  EXPECT_EQ(wide.at(5, 0)[0], 90);
  CGImageRelease(image);
}

TEST(Compositing, FlippedTransformsDrawImagesUpsideDownAndMirrored) {
  Canvas source(2, 2);
  source.set(0, 0, {255, 0, 0, 255});  // top left red
  CGImageRef image = source.image();
  struct Row {
    double sx, sy;
    std::size_t x, y;  // where the red pixel lands
  };
  for (const Row& row : {Row{1, 1, 0, 0}, Row{1, -1, 0, 1}, Row{-1, 1, 1, 0}, Row{-1, -1, 1, 1}}) {
    Canvas canvas(2, 2);
    CGContextTranslateCTM(canvas.context, row.sx < 0 ? 2 : 0, row.sy < 0 ? 2 : 0);
    CGContextScaleCTM(canvas.context, row.sx, row.sy);
    CGContextDrawImage(canvas.context, CGRectMake(0, 0, 2, 2), image);
    EXPECT_EQ(canvas.at(row.x, row.y), (Pixel{255, 0, 0, 255})) << row.sx << " " << row.sy;
  }
  // A rotation draws nothing.
  Canvas turned(2, 2);
  CGContextConcatCTM(turned.context, {0, 1, -1, 0, 2, 0});
  CGContextDrawImage(turned.context, CGRectMake(0, 0, 2, 2), image);
  EXPECT_EQ(turned.at(0, 0), (Pixel{0, 0, 0, 0}));
  CGImageRelease(image);
}

TEST(Compositing, ClipsToRectanglesAndMasksAndRestoresWithTheState) {
  Canvas mask_source(2, 1);
  mask_source.set(0, 0, {0, 0, 0, 255});
  mask_source.set(1, 0, {0, 0, 0, 51});
  CGImageRef mask = mask_source.image();

  Canvas canvas(4, 1);
  CGContextSaveGState(canvas.context);
  CGContextClipToRect(canvas.context, CGRectMake(0, 0, 3, 1));
  CGContextClipToMask(canvas.context, CGRectMake(1, 0, 2, 1), mask);
  CGContextSetRGBFillColor(canvas.context, 0, 0, 1, 1);
  CGContextFillRect(canvas.context, CGRectMake(0, 0, 4, 1));
  CGContextRestoreGState(canvas.context);
  EXPECT_EQ(canvas.at(0, 0), (Pixel{0, 0, 0, 0}));
  EXPECT_EQ(canvas.at(1, 0), (Pixel{0, 0, 255, 255}));
  EXPECT_EQ(canvas.at(2, 0), (Pixel{0, 0, 51, 51}));
  EXPECT_EQ(canvas.at(3, 0), (Pixel{0, 0, 0, 0}));
  // After the restore the whole context is open again.
  CGContextFillRect(canvas.context, CGRectMake(3, 0, 1, 1));
  EXPECT_EQ(canvas.at(3, 0), (Pixel{0, 0, 0, 255}));
  // Restoring with nothing saved, and every call on a null context, is harmless.
  CGContextRestoreGState(canvas.context);
  CGContextFillRect(nullptr, CGRectMake(0, 0, 1, 1));
  CGContextDrawImage(canvas.context, CGRectMake(0, 0, NAN, 1), mask);
  CGImageRelease(mask);
}

}  // namespace
