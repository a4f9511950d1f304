// Color values across the seam to the platform: a UIColor's value read, and
// a UIColor made, only by messages and CoreGraphics' C interface, as on the
// device.
#pragma once

#include <optional>

#include "platform/objc/runtime.h"
#include "toolkit/color/color.h"

namespace toolkit {

// The value of a UIColor, read from its CGColor's color space and
// components; nothing for nil, for an object that is no color, or for a
// color without a CGColor.
std::optional<Color> color_of(id ui_color);

// A new autoreleased UIColor (colorWithRed:green:blue:alpha:) of the RGB view
// of `color`; nil when it has none.
id make_ui_color(const Color& color);

}  // namespace toolkit
