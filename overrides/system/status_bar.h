// The status bar's content under the theme: its time, glyphs and signal bars
// are full white (the platform's `whiteColor`, not the palette's text grey),
// and every style the status bar is given carries a white foreground.
#pragma once

#include "core/saved_implementation.h"

namespace tenebra {

extern SavedImplementation<id(id, SEL)> saved_status_bar_image_tint_color;
extern SavedImplementation<id(id, SEL)> saved_status_bar_string_text_color;
extern SavedImplementation<id(id, SEL)> saved_status_bar_signal_active_color;
extern SavedImplementation<id(id, SEL, id, id, id)> saved_status_bar_style_attributes_init;
extern SavedImplementation<id(id, SEL)> saved_status_bar_style_foreground_color;

// -[_UIStatusBarImageView tintColor]
id status_bar_image_tint_color(id self, SEL cmd);
// -[_UIStatusBarStringView textColor]
id status_bar_string_text_color(id self, SEL cmd);
// -[_UIStatusBarSignalView activeColor]
id status_bar_signal_active_color(id self, SEL cmd);
// -[UIStatusBarNewUIStyleAttributes initWithRequest:backgroundColor:foregroundColor:]
id status_bar_style_attributes_init(id self, SEL cmd, id request, id background, id foreground);
// -[UIStatusBarNewUIStyleAttributes foregroundColor]
id status_bar_style_foreground_color(id self, SEL cmd);

}  // namespace tenebra
