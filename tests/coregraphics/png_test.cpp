// PNG files through libpng: every colour type, bit depth and interlacing
// reads as 8-bit RGB with premultiplied alpha; writing and reading again
// gives the same pixels; broken files give no image and never crash.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/coregraphics/png_codec.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Writes a PNG with libpng's own writer: `rows` hold the file's samples.
Bytes write_png(int width, int height, int color_type, int depth, bool interlaced,
                const std::vector<Bytes>& rows, const std::vector<png_color>& palette = {},
                const Bytes& transparency = {}) {
  Bytes file;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(
      png, &file,
      [](png_structp p, png_bytep data, png_size_t size) {
        auto* out = static_cast<Bytes*>(png_get_io_ptr(p));
        out->insert(out->end(), data, data + size);
      },
      nullptr);
  png_set_IHDR(png, info, width, height, depth, color_type,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!palette.empty()) {
    png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  }
  if (!transparency.empty()) {
    png_set_tRNS(png, info, transparency.data(), static_cast<int>(transparency.size()), nullptr);
  }
  png_write_info(png, info);
  std::vector<png_bytep> pointers;
  for (const Bytes& row : rows) pointers.push_back(const_cast<png_bytep>(row.data()));
  png_write_image(png, pointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return file;
}

std::array<std::uint8_t, 4> pixel(CGImageRef image, std::size_t x, std::size_t y) {
  const std::uint8_t* p = &image->bytes[y * image->bytes_per_row + x * 4];
  return {p[0], p[1], p[2], p[3]};
}

struct Case {
  const char* name;
  Bytes file;
  std::uint32_t alpha_info;
  std::array<std::uint8_t, 4> first, last;  // premultiplied, memory order
};

TEST(PngReading, EveryColorTypeReadsAsPremultipliedRgb) {
  const Case cases[] = {
      {"grey 8",
       write_png(2, 1, PNG_COLOR_TYPE_GRAY, 8, false, {{10, 200}}),
       5,
       {10, 10, 10, 255},
       {200, 200, 200, 255}},
      {"grey 1",
       write_png(8, 1, PNG_COLOR_TYPE_GRAY, 1, false, {{0x80}}),
       5,
       {255, 255, 255, 255},
       {0, 0, 0, 255}},
      {"grey alpha",
       write_png(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, {{200, 128, 50, 0}}),
       1,
       {100, 100, 100, 128},
       {0, 0, 0, 0}},
      {"palette",
       write_png(2, 1, PNG_COLOR_TYPE_PALETTE, 8, false, {{1, 0}}, {{1, 2, 3}, {250, 0, 4}}),
       5,
       {250, 0, 4, 255},
       {1, 2, 3, 255}},
      {"palette transparency",
       write_png(2, 1, PNG_COLOR_TYPE_PALETTE, 8, false, {{0, 1}}, {{255, 0, 0}, {0, 0, 255}},
                 {51}),
       1,
       {51, 0, 0, 51},
       {0, 0, 255, 255}},
      // 16-bit samples keep their high byte's meaning: 0x8080 is 128.
      {"rgb 16",
       write_png(1, 1, PNG_COLOR_TYPE_RGB, 16, false, {{0x80, 0x80, 0xFF, 0xFF, 0, 0}}),
       5,
       {128, 255, 0, 255},
       {128, 255, 0, 255}},
      {"rgba 8",
       write_png(1, 1, PNG_COLOR_TYPE_RGBA, 8, false, {{255, 102, 0, 51}}),
       1,
       {51, 20, 0, 51},
       {51, 20, 0, 51}},
  };
  for (const Case& c : cases) {
    CGImageRef image = cg::decode_png(c.file);
    ASSERT_NE(image, nullptr) << c.name;
    EXPECT_EQ(CGImageGetAlphaInfo(image), c.alpha_info) << c.name;
    EXPECT_EQ(pixel(image, 0, 0), c.first) << c.name;
    EXPECT_EQ(pixel(image, image->width - 1, image->height - 1), c.last) << c.name;
    CGImageRelease(image);
  }
}

TEST(PngReading, InterlacedFilesReadLikePlainOnes) {
  std::vector<Bytes> rows;
  for (int y = 0; y < 9; ++y) {
    Bytes row;
    for (int x = 0; x < 9; ++x)
      row.insert(row.end(), {std::uint8_t(x * 20), std::uint8_t(y * 20), 7});
    rows.push_back(row);
  }
  CGImageRef plain = cg::decode_png(write_png(9, 9, PNG_COLOR_TYPE_RGB, 8, false, rows));
  CGImageRef interlaced = cg::decode_png(write_png(9, 9, PNG_COLOR_TYPE_RGB, 8, true, rows));
  ASSERT_NE(plain, nullptr);
  ASSERT_NE(interlaced, nullptr);
  EXPECT_EQ(plain->bytes, interlaced->bytes);
  EXPECT_EQ(pixel(interlaced, 8, 4), (std::array<std::uint8_t, 4>{160, 80, 7, 255}));
  CGImageRelease(plain);
  CGImageRelease(interlaced);
}

TEST(PngRoundTrip, WritingAndReadingKeepsPremultipliedPixels) {
  std::vector<Bytes> rows;
  for (int y = 0; y < 16; ++y) {
    Bytes row;
    for (int x = 0; x < 16; ++x) {
      row.insert(row.end(), {std::uint8_t(x * 17), std::uint8_t(y * 16), std::uint8_t(x * y),
                             std::uint8_t((x * 16 + y) % 256)});
    }
    rows.push_back(row);
  }
  CGImageRef first = cg::decode_png(write_png(16, 16, PNG_COLOR_TYPE_RGBA, 8, false, rows));
  ASSERT_NE(first, nullptr);
  const auto file = cg::encode_png(first);
  ASSERT_TRUE(file.has_value());
  CGImageRef second = cg::decode_png(*file);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->bytes, second->bytes);
  CGImageRelease(first);
  CGImageRelease(second);
  EXPECT_FALSE(cg::encode_png(nullptr).has_value());
}

// The IHDR chunk of a file claiming the given size, with a valid CRC.
Bytes header_only(std::uint32_t width, std::uint32_t height) {
  Bytes file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  for (std::uint32_t v : {width, height}) {
    for (int shift = 24; shift >= 0; shift -= 8) file.push_back(std::uint8_t(v >> shift));
  }
  file.insert(file.end(), {8, 6, 0, 0, 0});
  const std::uint32_t crc = crc32(0, file.data() + 12, 17);
  for (int shift = 24; shift >= 0; shift -= 8) file.push_back(std::uint8_t(crc >> shift));
  return file;
}

TEST(PngReading, BrokenFilesGiveNoImage) {
  const Bytes good =
      write_png(4, 4, PNG_COLOR_TYPE_GRAY, 8, false, std::vector<Bytes>(4, Bytes(4, 9)));
  CGImageRef image = cg::decode_png(good);
  ASSERT_NE(image, nullptr);
  CGImageRelease(image);
  Bytes truncated(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
  Bytes corrupt = good;
  corrupt[corrupt.size() - 20] ^= 0xFF;
  const Bytes broken[] = {{},
                          {'P', 'N', 'G'},
                          truncated,
                          corrupt,
                          header_only(100000, 100000),
                          header_only(20000, 20000),
                          header_only(0, 4)};
  for (const Bytes& file : broken) EXPECT_EQ(cg::decode_png(file), nullptr) << file.size();
}

}  // namespace
