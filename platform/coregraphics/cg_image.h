// CGImage: an immutable pixel image with its width, height, layout (bits per
// component and per pixel, bytes per row, alpha info, bitmap info) and colour
// space. Reference counted: CGImageRetain and CGImageRelease, a null image
// accepted by both. Every getter answers 0 or null for a null image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/coregraphics/cg_color.h"
#include "platform/coregraphics/compositing.h"
#include "platform/coregraphics/pixel_format.h"
#include "platform/objc/type_encoding.h"

struct CGImage {
  std::size_t references = 1;
  std::size_t width = 0, height = 0, bytes_per_row = 0;
  cg::PixelFormat format;
  std::vector<std::uint8_t> bytes;
};
using CGImageRef = CGImage*;

CGImageRef CGImageRetain(CGImageRef image);
void CGImageRelease(CGImageRef image);
std::size_t CGImageGetWidth(CGImageRef image);
std::size_t CGImageGetHeight(CGImageRef image);
std::size_t CGImageGetBitsPerComponent(CGImageRef image);
std::size_t CGImageGetBitsPerPixel(CGImageRef image);
std::size_t CGImageGetBytesPerRow(CGImageRef image);
CGColorSpaceRef CGImageGetColorSpace(CGImageRef image);
std::uint32_t CGImageGetAlphaInfo(CGImageRef image);
std::uint32_t CGImageGetBitmapInfo(CGImageRef image);

namespace cg {

// A new image (reference count 1) owning `bytes`, laid out as `format` with
// rows of `bytes_per_row`; null when the size is outside the budget or the
// bytes are too few for it.
CGImageRef make_image(const PixelFormat& format, std::size_t width, std::size_t height,
                      std::size_t bytes_per_row, std::vector<std::uint8_t> bytes);

// The image's pixels as a plane to draw from (read only).
PixelPlane plane_of(const CGImage& image);

}  // namespace cg

namespace objc {
template <>
struct Encoding<CGImage> {
  static std::string value() { return "{CGImage=}"; }
};
}  // namespace objc
