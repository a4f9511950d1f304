// Pickers under the dark keyboard: the wheels take the raised-surface colour
// and the date picker's title the palette's text colour.
#pragma once

#include "core/saved_implementation.h"
#include "overrides/substitution.h"

namespace tenebra {

extern SavedImplementation<void(id, SEL, id)> saved_picker_set_background_color;
extern SavedImplementation<id(id, SEL)> saved_date_picker_title_label;

// -[UIPickerView setBackgroundColor:]
inline constexpr auto picker_set_background_color =
    theme_color_setter<saved_picker_set_background_color, lighterBgColor, keyboard_theme_on>;
// -[UIDatePickerContentView titleLabel]: the label it answers is recoloured
// before it is handed on.
id date_picker_title_label(id self, SEL cmd);

}  // namespace tenebra
