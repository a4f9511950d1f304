// Each method reaches the platform by messages and its drawing functions,
// and leaves the pixel reading to the pure functions beside it.
#include "toolkit/image/ui_color_images.h"

#include <cmath>

#include "platform/coregraphics/cg_color_space.h"
#include "platform/foundation/format.h"
#include "platform/foundation/ns_log.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/uikit/ui_graphics.h"
#include "toolkit/image/bitmap_drawing.h"
#include "toolkit/image/dominant_colors.h"
#include "toolkit/image/image_analysis.h"

namespace toolkit {
namespace {

using objc::msg;

Class color_class() { return objc_getClass("UIColor"); }

id rgb_color(double red, double green, double blue, double alpha) {
  return msg<id>(color_class(), "colorWithRed:green:blue:alpha:", red, green, blue, alpha);
}

// + (UIImage*)imageWithColor:(UIColor*)color andBounds:(CGRect)bounds
id image_with_color(id, SEL, id color, CGRect bounds) {
  UIGraphicsBeginImageContextWithOptions(bounds.size, NO, 0.0);
  msg<void>(color, "setFill");
  UIRectFill(bounds);
  id image = UIGraphicsGetImageFromCurrentImageContext();
  UIGraphicsEndImageContext();
  return image;
}

// - (UIImage*)thumbnailWithSize:(CGSize)size
id thumbnail_with_size(id self, SEL, CGSize size) {
  UIGraphicsBeginImageContext(size);
  CGContextRef context = UIGraphicsGetCurrentContext();
  CGContextSetFillColorWithColor(context, msg<CGColorRef>(self, "CGColor"));
  CGContextFillRect(context, CGRectMake(0, 0, size.width, size.height));
  id image = UIGraphicsGetImageFromCurrentImageContext();
  UIGraphicsEndImageContext();
  return image;
}

// + (UIColor*)averageColorForImage:(UIImage*)image
id average_color_for_image(id, SEL, id image) {
  const std::optional<Bitmap> pixel = draw_into_bitmap(image, 1, 1, DrawBlend::kNormal);
  const Rgba c = average_color(pixel->pixel(0, 0));
  return rgb_color(c.red, c.green, c.blue, c.alpha);
}

// The Bitmap of the two image tests: the pixel image drawn pixel for pixel
// with copy blending. Nothing (the answer for an absent image) when there
// are no pixels, when the image's own colour space is not RGB, or past the
// pixel budget.
std::optional<Bitmap> full_size_bitmap(id image) {
  CGImageRef pixels = msg<CGImageRef>(image, "CGImage");
  if (CGColorSpaceGetModel(CGImageGetColorSpace(pixels)) != kCGColorSpaceModelRGB) {
    return std::nullopt;
  }
  return draw_into_bitmap(image, CGImageGetWidth(pixels), CGImageGetHeight(pixels),
                          DrawBlend::kCopy);
}

void log_pixel(id description, PremultipliedPixel pixel) {
  const PixelUnits u = pixel_units(pixel);
  id hex = ns::format(NSSTR("#%02lX%02lX%02lX%02lX"), std::lroundf(u.red * 255.0f),
                      std::lroundf(u.green * 255.0f), std::lroundf(u.blue * 255.0f),
                      std::lroundf(u.alpha * 255.0f));
  NSLog(NSSTR("%@ red: %f green: %f, blue:%f alpha: %f HEX:%@"), description,
        static_cast<double>(u.red), static_cast<double>(u.green), static_cast<double>(u.blue),
        static_cast<double>(u.alpha), hex);
}

// + (BOOL)imageIsLightColor:(UIImage*)image: one log line per pixel visited.
BOOL image_is_light_color(id, SEL, id image) {
  const std::optional<Bitmap> bitmap = full_size_bitmap(image);
  if (!bitmap) return YES;
  const std::optional<std::uint64_t> dark = first_dark_pixel(*bitmap);
  const std::uint64_t visited = dark ? *dark + 1 : bitmap->width() * bitmap->height();
  id description = msg<id>(image, "description");
  for (std::uint64_t i = 0; i < visited; ++i) {
    log_pixel(description, bitmap->pixel(i % bitmap->width(), i / bitmap->width()));
  }
  return dark ? NO : YES;
}

// + (BOOL)imageIsAllWhite:(UIImage*)image
BOOL image_is_all_white(id, SEL, id image) {
  const std::optional<Bitmap> bitmap = full_size_bitmap(image);
  return !bitmap || all_white(*bitmap) ? YES : NO;
}

// + (NSDictionary*)mainColoursInImage:(UIImage*)image detail:(int)detail
id main_colors_in_image(id, SEL, id image, int detail) {
  const int side = dominant_detail(detail).side;
  const std::optional<Bitmap> bitmap = draw_into_bitmap(image, side, side, DrawBlend::kNormal);
  id result = msg<id>(objc_getClass("NSMutableDictionary"), "dictionary");
  for (const DominantColor& c : dominant_colors(*bitmap, detail)) {
    id color = rgb_color(static_cast<float>(c.red) / 255.0f, static_cast<float>(c.green) / 255.0f,
                         static_cast<float>(c.blue) / 255.0f, 1.0);
    msg<void>(result,
              "setObject:forKey:", msg<id>(objc_getClass("NSNumber"), "numberWithFloat:", c.share),
              color);
  }
  return result;
}

}  // namespace

void register_color_image_category() {
  objc::ClassDefinition::extend(color_class())
      .class_method("imageWithColor:andBounds:", image_with_color)
      .method("thumbnailWithSize:", thumbnail_with_size)
      .class_method("averageColorForImage:", average_color_for_image)
      .class_method("imageIsLightColor:", image_is_light_color)
      .class_method("imageIsAllWhite:", image_is_all_white)
      .class_method("mainColoursInImage:detail:", main_colors_in_image);
}

}  // namespace toolkit
