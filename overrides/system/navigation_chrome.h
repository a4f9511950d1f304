// The app's navigation bars and the selection background of table cells take
// the raised-surface colour, whatever colour (or none) the caller gives.
#pragma once

#include "core/saved_implementation.h"
#include "overrides/substitution.h"

namespace tenebra {

extern SavedImplementation<void(id, SEL, id)> saved_navigation_bar_set_custom_bar_tint_color;
extern SavedImplementation<void(id, SEL, id)> saved_navigation_bar_set_bar_tint_color;
extern SavedImplementation<void(id, SEL, id)> saved_cell_selection_set_selection_tint_color;

// -[GBTNavigationBar setCustomBarTintColor:]
inline constexpr auto navigation_bar_set_custom_bar_tint_color =
    theme_color_setter<saved_navigation_bar_set_custom_bar_tint_color, lighterBgColor, theme_on>;
// -[GBTNavigationBar setBarTintColor:]
inline constexpr auto navigation_bar_set_bar_tint_color =
    theme_color_setter<saved_navigation_bar_set_bar_tint_color, lighterBgColor, theme_on>;
// -[UITableViewCellSelectedBackground setSelectionTintColor:]
inline constexpr auto cell_selection_set_selection_tint_color =
    theme_color_setter<saved_cell_selection_set_selection_tint_color, lighterBgColor, theme_on>;

}  // namespace tenebra
