// UIColor: a runtime object holding a colour value (model and components,
// alpha last), with the platform's named colours, constructors and the RGB,
// HSB and white views. The C++ helpers give platform and theme code the value
// inside without a message send.
//
// Colours are immutable: `copy` hands back the same object. The named colours
// (`whiteColor`, `blackColor`, `redColor`, `clearColor`) are made once and
// shared for the life of the process, as the device caches them; they are
// made directly, not through `colorWithWhite:alpha:`, so a replacement of that
// class method does not see them. Every `colorWith...` class method makes a
// fresh colour through `alloc` and the matching `initWith...`.
#pragma once

#include "platform/coregraphics/cg_color.h"
#include "platform/coregraphics/color_components.h"
#include "platform/objc/runtime.h"

namespace ui {

void define_color_classes();

// A new autoreleased UIColor holding `value`.
id make_color(const cg::ColorComponents& value);
// The value inside a UIColor; `color` must not be nil.
const cg::ColorComponents& color_value(id color);
// Whether `object` is a UIColor (or subclass).
bool is_color(id object);

}  // namespace ui
