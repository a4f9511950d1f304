#include "platform/uikit/ui_graphics.h"

#include <cmath>
#include <vector>

#include "platform/coregraphics/cg_color_space.h"
#include "platform/coregraphics/limits.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/uikit/ui_image.h"
#include "platform/uikit/ui_screen.h"

namespace {

// The pixel layouts of image contexts, in the drawing library's own byte
// order (32-bit little endian): B, G, R, A premultiplied, or B, G, R and a
// skipped byte for an opaque context, whose images have no alpha.
constexpr std::uint32_t kImageContextBitmapInfo = 0x2002;
constexpr std::uint32_t kOpaqueImageContextBitmapInfo = 0x2006;

struct Entry {
  CGContextRef context = nullptr;  // owned for an image context
  bool image_context = false;
  double scale = 1.0;
};

std::vector<Entry>& stack() {
  thread_local std::vector<Entry> entries;
  return entries;
}

// The pixel count for `points` at `scale`, rounded up; 0 when there is none.
std::size_t pixels_for(double points, double scale) {
  const double pixels = std::ceil(points * scale);
  if (!(pixels >= 1.0) || pixels > static_cast<double>(cg::kMaxSide)) return 0;
  return static_cast<std::size_t>(pixels);
}

void set_fill(id self, SEL) {
  CGContextSetFillColorWithColor(UIGraphicsGetCurrentContext(),
                                 objc::msg<CGColorRef>(self, "CGColor"));
}

}  // namespace

void UIGraphicsBeginImageContext(CGSize size) {
  UIGraphicsBeginImageContextWithOptions(size, NO, 1.0);
}

void UIGraphicsBeginImageContextWithOptions(CGSize size, BOOL opaque, double scale) {
  if (scale == 0.0) scale = ui::main_screen_scale();
  Entry entry{nullptr, true, scale};
  if (std::isfinite(scale) && scale > 0) {
    const std::size_t width = pixels_for(size.width, scale);
    const std::size_t height = pixels_for(size.height, scale);
    if (width > 0 && height > 0) {
      entry.context =
          CGBitmapContextCreate(nullptr, width, height, 8, 0, CGColorSpaceCreateDeviceRGB(),
                                opaque ? kOpaqueImageContextBitmapInfo : kImageContextBitmapInfo);
    }
  }
  if (entry.context != nullptr) {
    CGContextTranslateCTM(entry.context, 0,
                          static_cast<double>(CGBitmapContextGetHeight(entry.context)));
    CGContextScaleCTM(entry.context, scale, -scale);
  }
  stack().push_back(entry);
}

CGContextRef UIGraphicsGetCurrentContext() {
  return stack().empty() ? nullptr : stack().back().context;
}

id UIGraphicsGetImageFromCurrentImageContext() {
  if (stack().empty() || !stack().back().image_context) return nil;
  const Entry& entry = stack().back();
  CGImageRef pixels = CGBitmapContextCreateImage(entry.context);
  id image = ui::make_image(pixels, entry.scale, ui::kImageOrientationUp);
  CGImageRelease(pixels);
  return image;
}

void UIGraphicsEndImageContext() {
  if (stack().empty() || !stack().back().image_context) return;
  CGContextRelease(stack().back().context);
  stack().pop_back();
}

void UIGraphicsPushContext(CGContextRef context) {
  stack().push_back({CGContextRetain(context), false, 1.0});
}

void UIGraphicsPopContext() {
  if (stack().empty() || stack().back().image_context) return;
  CGContextRelease(stack().back().context);
  stack().pop_back();
}

void UIRectFill(CGRect rect) { UIRectFillUsingBlendMode(rect, kCGBlendModeCopy); }

void UIRectFillUsingBlendMode(CGRect rect, CGBlendMode mode) {
  CGContextRef context = UIGraphicsGetCurrentContext();
  CGContextSaveGState(context);
  CGContextSetBlendMode(context, mode);
  CGContextFillRect(context, rect);
  CGContextRestoreGState(context);
}

namespace ui {

void define_color_drawing() {
  objc::ClassDefinition::extend(objc_getClass("UIColor"))
      .method("setFill", set_fill)
      .method("set", set_fill);
}

}  // namespace ui
