// PNG files, as the platform reads every image file and image data the app
// or a rule hands over: any bytes either give nothing or an image within the
// size budget, in one of the two layouts the reader promises, with no colour
// channel above its alpha; and what reads as an image writes as a PNG that
// reads back to the same pixels.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "fuzz/fuzz_check.h"
#include "platform/coregraphics/cg_image.h"
#include "platform/coregraphics/compositing.h"
#include "platform/coregraphics/limits.h"
#include "platform/coregraphics/png_codec.h"

namespace {

// Owns one reference to an image.
struct Image {
  CGImageRef image;
  ~Image() { CGImageRelease(image); }
};

// The same colour channels, and the same alpha where there is one (a
// skipped byte holds nothing).
bool same_pixels(CGImageRef a, CGImageRef b, bool has_alpha) {
  const cg::PixelPlane pa = cg::plane_of(*a), pb = cg::plane_of(*b);
  if (pa.width != pb.width || pa.height != pb.height) return false;
  const std::size_t channels = has_alpha ? 4 : 3;
  for (std::size_t y = 0; y < pa.height; ++y) {
    for (std::size_t x = 0; x < pa.width; ++x) {
      if (std::memcmp(pa.at(x, y), pb.at(x, y), channels) != 0) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Image read{cg::decode_png(std::span(data, size))};
  if (read.image == nullptr) return 0;
  const std::size_t width = CGImageGetWidth(read.image);
  const std::size_t height = CGImageGetHeight(read.image);
  FUZZ_CHECK(cg::within_budget(width, height));
  FUZZ_CHECK(CGImageGetBitsPerPixel(read.image) == 32);
  const std::uint32_t alpha = CGImageGetAlphaInfo(read.image);
  FUZZ_CHECK(alpha == 1 || alpha == 5);
  if (alpha == 1) {
    // Premultiplied: no channel exceeds the pixel's alpha.
    const cg::PixelPlane plane = cg::plane_of(*read.image);
    for (std::size_t y = 0; y < height; ++y) {
      for (std::size_t x = 0; x < width; ++x) {
        const std::uint8_t* pixel = plane.at(x, y);
        FUZZ_CHECK(pixel[0] <= pixel[3] && pixel[1] <= pixel[3] && pixel[2] <= pixel[3]);
      }
    }
  }

  const auto written = cg::encode_png(read.image);
  FUZZ_CHECK(written.has_value());
  const Image again{cg::decode_png(*written)};
  FUZZ_CHECK(again.image != nullptr);
  FUZZ_CHECK(CGImageGetAlphaInfo(again.image) == alpha);
  FUZZ_CHECK(same_pixels(read.image, again.image, alpha == 1));
  return 0;
}
