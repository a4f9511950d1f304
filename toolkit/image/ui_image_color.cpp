// UIImage(Color), made of platform calls in the order the tint and the
// scaled copy take them, so the pixels are the platform's own compositing.
#include "toolkit/image/ui_image_color.h"

#include "platform/coregraphics/cg_color_space.h"
#include "platform/coregraphics/cg_context.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/uikit/ui_graphics.h"

namespace toolkit {
namespace {

using objc::msg;

// - (BOOL)hasAlpha: alpha info 1 to 4 (premultiplied or not, first or last).
BOOL has_alpha(id self, SEL) {
  const std::uint32_t info = CGImageGetAlphaInfo(msg<CGImageRef>(self, "CGImage"));
  return info - 1u < 4u ? YES : NO;
}

// - (UIImage*)imageWithTint:(UIColor*)tint. The mask is drawn upside down
// (the context flipped back to y up) because clipping to it in the second,
// y-down context turns it over once more.
id image_with_tint(id self, SEL, id tint) {
  const CGSize size = msg<CGSize>(self, "size");
  const double scale = msg<double>(msg<id>(objc_getClass("UIScreen"), "mainScreen"), "scale");
  const CGRect rect = CGRectMake(0, 0, size.width, size.height);

  UIGraphicsBeginImageContextWithOptions(size, NO, scale);
  CGContextRef context = UIGraphicsGetCurrentContext();
  CGContextTranslateCTM(context, 0, size.height);
  CGContextScaleCTM(context, 1.0, -1.0);
  msg<void>(self, "drawInRect:", rect);
  CGImageRef mask = CGBitmapContextCreateImage(context);
  UIGraphicsEndImageContext();

  UIGraphicsBeginImageContextWithOptions(size, NO, scale);
  context = UIGraphicsGetCurrentContext();
  msg<void>(self, "drawInRect:", rect);
  CGContextClipToMask(context, rect, mask);
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  CGContextSetFillColorSpace(context, space);
  CGContextSetFillColorWithColor(context, msg<CGColorRef>(tint, "CGColor"));
  UIRectFillUsingBlendMode(rect, kCGBlendModeNormal);
  id image = UIGraphicsGetImageFromCurrentImageContext();
  UIGraphicsEndImageContext();
  CGColorSpaceRelease(space);
  CGImageRelease(mask);
  return image;
}

// + (UIImage*)imageWithImage:(UIImage*)image scaledToSize:(CGSize)size
id image_scaled_to_size(id, SEL, id image, CGSize size) {
  UIGraphicsBeginImageContextWithOptions(size, NO, 0.0);
  msg<void>(image, "drawInRect:", CGRectMake(0, 0, size.width, size.height));
  id scaled = UIGraphicsGetImageFromCurrentImageContext();
  UIGraphicsEndImageContext();
  return scaled;
}

}  // namespace

void register_image_category() {
  objc::ClassDefinition::extend(objc_getClass("UIImage"))
      .method("hasAlpha", has_alpha)
      .method("imageWithTint:", image_with_tint)
      .class_method("imageWithImage:scaledToSize:", image_scaled_to_size);
}

}  // namespace toolkit
