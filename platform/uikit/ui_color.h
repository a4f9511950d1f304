// UIColor: a runtime object holding a colour value (model and components,
// alpha last), with the platform's named colours, constructors and the RGB,
// HSB and white views. The C++ helpers give platform and theme code the value
// inside without a message send.
#pragma once

#include "platform/graphics/color_components.h"
#include "platform/objc/runtime.h"

namespace ui {

void define_color_classes();

// A new autoreleased UIColor holding `value`.
id make_color(const graphics::ColorComponents& value);
// The value inside a UIColor; `color` must not be nil.
const graphics::ColorComponents& color_value(id color);
// Whether `object` is a UIColor (or subclass).
bool is_color(id object);

}  // namespace ui
