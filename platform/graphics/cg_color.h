// CGColor, the colour value that CoreGraphics and layers work with: a colour
// model and its components, alpha last. A UIColor owns its CGColor, so a
// CGColorRef taken from a UIColor is valid for as long as that UIColor lives,
// as on the device.
#pragma once

#include <cstddef>
#include <string>

#include "platform/graphics/color_components.h"
#include "platform/objc/type_encoding.h"

struct CGColor {
  graphics::ColorComponents components = graphics::ColorComponents::grey(0.0, 0.0);
};
using CGColorRef = CGColor*;

// The number of components, alpha included; 0 for a null colour.
std::size_t CGColorGetNumberOfComponents(CGColorRef color);
// The components, alpha last (CGColorGetNumberOfComponents of them); null for
// a null colour. Valid while the colour lives.
const double* CGColorGetComponents(CGColorRef color);
// The alpha component; 0 for a null colour.
double CGColorGetAlpha(CGColorRef color);

namespace objc {
template <>
struct Encoding<CGColor> {
  static std::string value() { return "{CGColor=}"; }
};
}  // namespace objc
