#include "platform/coregraphics/cg_image.h"

#include "platform/coregraphics/cg_color_space.h"
#include "platform/coregraphics/limits.h"

CGImageRef CGImageRetain(CGImageRef image) {
  if (image != nullptr) ++image->references;
  return image;
}

void CGImageRelease(CGImageRef image) {
  if (image != nullptr && --image->references == 0) delete image;
}

std::size_t CGImageGetWidth(CGImageRef image) { return image == nullptr ? 0 : image->width; }
std::size_t CGImageGetHeight(CGImageRef image) { return image == nullptr ? 0 : image->height; }
std::size_t CGImageGetBitsPerComponent(CGImageRef image) { return image == nullptr ? 0 : 8; }
std::size_t CGImageGetBitsPerPixel(CGImageRef image) {
  return image == nullptr ? 0 : 8 * static_cast<std::size_t>(image->format.bytes_per_pixel);
}
std::size_t CGImageGetBytesPerRow(CGImageRef image) {
  return image == nullptr ? 0 : image->bytes_per_row;
}
CGColorSpaceRef CGImageGetColorSpace(CGImageRef image) {
  return image == nullptr ? nullptr : cg::color_space_for(image->format.model);
}
std::uint32_t CGImageGetAlphaInfo(CGImageRef image) {
  return image == nullptr ? 0 : image->format.alpha_info();
}
std::uint32_t CGImageGetBitmapInfo(CGImageRef image) {
  return image == nullptr ? 0 : image->format.bitmap_info;
}

namespace cg {

CGImageRef make_image(const PixelFormat& format, std::size_t width, std::size_t height,
                      std::size_t bytes_per_row, std::vector<std::uint8_t> bytes) {
  if (!within_budget(width, height)) return nullptr;
  const std::size_t row = width * static_cast<std::size_t>(format.bytes_per_pixel);
  if (bytes_per_row < row || bytes.size() < bytes_per_row * (height - 1) + row) return nullptr;
  auto* image = new CGImage;
  image->width = width;
  image->height = height;
  image->bytes_per_row = bytes_per_row;
  image->format = format;
  image->bytes = std::move(bytes);
  return image;
}

PixelPlane plane_of(const CGImage& image) {
  return {const_cast<std::uint8_t*>(image.bytes.data()), image.width, image.height,
          image.bytes_per_row, image.format};
}

}  // namespace cg
