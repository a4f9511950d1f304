#include "toolkit/color/platform_color.h"

#include <cstddef>

#include "platform/coregraphics/cg_color.h"
#include "platform/objc/message.h"

namespace toolkit {

std::optional<Color> color_of(id ui_color) {
  static SEL cg_color = objc::sel("CGColor");
  if (!objc::responds(ui_color, cg_color)) return std::nullopt;
  CGColorRef value = objc::msg<CGColorRef>(ui_color, cg_color);
  if (value == nullptr) return std::nullopt;
  const std::size_t count = CGColorGetNumberOfComponents(value);
  const double* components = CGColorGetComponents(value);
  switch (CGColorSpaceGetModel(CGColorGetColorSpace(value))) {
    case kCGColorSpaceModelRGB:
      return Color::rgb(components[0], components[1], components[2], components[3]);
    case kCGColorSpaceModelMonochrome:
      return Color::grey(components[0], components[1]);
    default:
      return Color::other({components, count});
  }
}

id make_ui_color(const Color& color) {
  static SEL color_with_rgba = objc::sel("colorWithRed:green:blue:alpha:");
  const auto rgba = rgb_view(color);
  if (!rgba) return nil;
  return objc::msg<id>(objc_getClass("UIColor"), color_with_rgba, rgba->red, rgba->green,
                       rgba->blue, rgba->alpha);
}

}  // namespace toolkit
