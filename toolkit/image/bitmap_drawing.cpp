#include "toolkit/image/bitmap_drawing.h"

#include "platform/coregraphics/cg_color_space.h"
#include "platform/coregraphics/cg_context.h"
#include "platform/objc/message.h"

namespace toolkit {

std::optional<Bitmap> draw_into_bitmap(id image, std::uint64_t width, std::uint64_t height,
                                       DrawBlend blend) {
  std::optional<Bitmap> bitmap = Bitmap::make(width, height);
  if (!bitmap) return std::nullopt;
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  CGContextRef context = CGBitmapContextCreate(
      bitmap->data(), width, height, 8, bitmap->bytes_per_row(), space, kCGBitmapRGBAPremultiplied);
  if (context == nullptr) return std::nullopt;
  if (blend == DrawBlend::kCopy) CGContextSetBlendMode(context, kCGBlendModeCopy);
  CGContextDrawImage(context,
                     CGRectMake(0, 0, static_cast<double>(width), static_cast<double>(height)),
                     objc::msg<CGImageRef>(image, "CGImage"));
  CGContextRelease(context);
  CGColorSpaceRelease(space);
  return bitmap;
}

}  // namespace toolkit
