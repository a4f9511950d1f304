// Pickers under the dark keyboard: the wheels take the raised-surface colour,
// and the date picker's title and every row title the palette's text colour.
#pragma once

#include "core/saved_implementation.h"
#include "overrides/substitution.h"

namespace tenebra {

extern SavedImplementation<void(id, SEL, id)> saved_picker_set_background_color;
extern SavedImplementation<id(id, SEL)> saved_date_picker_title_label;
extern SavedImplementation<void(id, SEL, id)> saved_picker_cell_set_attributed_title;

// -[UIPickerView setBackgroundColor:]
inline constexpr auto picker_set_background_color =
    theme_color_setter<saved_picker_set_background_color, lighterBgColor, keyboard_theme_on>;
// -[UIDatePickerContentView titleLabel]: the label it answers is recoloured
// before it is handed on.
id date_picker_title_label(id self, SEL cmd);
// -[UIPickerTableViewTitledCell setAttributedTitle:]: the cell is given the
// title's characters with the text colour as their only attribute.
void picker_cell_set_attributed_title(id self, SEL cmd, id title);

}  // namespace tenebra
