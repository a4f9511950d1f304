// CGColor, the colour value that CoreGraphics and layers work with: a colour
// model and its components, alpha last. A UIColor owns its CGColor, so a
// CGColorRef taken from a UIColor is valid for as long as that UIColor lives,
// as on the device.
#pragma once

#include <cstddef>
#include <string>

#include "platform/coregraphics/color_components.h"
#include "platform/objc/type_encoding.h"

struct CGColor {
  cg::ColorComponents components = cg::ColorComponents::grey(0.0, 0.0);
};
using CGColorRef = CGColor*;

// A colour space, known by its model: monochrome for greys, RGB, and pattern
// for the colours of neither model.
enum CGColorSpaceModel {
  kCGColorSpaceModelUnknown = -1,
  kCGColorSpaceModelMonochrome = 0,
  kCGColorSpaceModelRGB = 1,
  kCGColorSpaceModelPattern = 6,
};
struct CGColorSpace {
  CGColorSpaceModel model;
};
using CGColorSpaceRef = const CGColorSpace*;

// The colour's space (shared, never freed); null for a null colour.
CGColorSpaceRef CGColorGetColorSpace(CGColorRef color);
// The model of a colour space; unknown for a null space.
CGColorSpaceModel CGColorSpaceGetModel(CGColorSpaceRef space);

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
