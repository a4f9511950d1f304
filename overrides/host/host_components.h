// The app's own components under the theme: the search field's tint, the
// open search bar's backing, rounded-corner fills, item-list cell
// backgrounds, the thread subject, the floating compose button and the
// keyboard promotion. Every rule here follows `enabled`; the setters'
// colours then pass through the view background rule where the class
// inherits UIView's setter.
#pragma once

#include "core/saved_implementation.h"
#include "overrides/substitution.h"

namespace tenebra {

extern SavedImplementation<id(id, SEL)> saved_expandable_field_tint_color;
extern SavedImplementation<void(id, SEL)> saved_search_bar_gradient_layout_subviews;
extern SavedImplementation<void(id, SEL, id)> saved_rounded_corner_set_fill_color;
extern SavedImplementation<id(id, SEL)> saved_rounded_corner_fill_color;
extern SavedImplementation<void(id, SEL, id)> saved_item_list_cell_set_background_color;
extern SavedImplementation<id(id, SEL)> saved_item_list_cell_background_color;
extern SavedImplementation<void(id, SEL)> saved_thread_subject_layout_subviews;
extern SavedImplementation<id(id, SEL, unsigned long)> saved_floating_button_background_for_state;
extern SavedImplementation<void(id, SEL, id)> saved_floating_button_set_background_color;
extern SavedImplementation<id(id, SEL)> saved_floating_button_background_color;
extern SavedImplementation<void(id, SEL, id)> saved_keyboard_promo_set_background_color;
extern SavedImplementation<id(id, SEL)> saved_keyboard_promo_background_color;

// -[ExpandableTextField tintColor]
inline constexpr auto expandable_field_tint_color =
    theme_color_getter<saved_expandable_field_tint_color, textColor, theme_on>;
// -[GBTOpenSearchBarGradientView layoutSubviews]: the bar gets its black
// backing view while the theme is on and the bar is still empty, so at most
// once.
void search_bar_gradient_layout_subviews(id self, SEL cmd);
// -[GBTRoundedCornerView setFillColor:] and -fillColor
inline constexpr auto rounded_corner_set_fill_color =
    theme_color_setter<saved_rounded_corner_set_fill_color, lighterBgColor, theme_on>;
inline constexpr auto rounded_corner_fill_color =
    theme_color_getter<saved_rounded_corner_fill_color, lighterBgColor, theme_on>;
// -[OGLItemListViewCellBackgroundView setBackgroundColor:] and -backgroundColor
inline constexpr auto item_list_cell_set_background_color =
    theme_color_setter<saved_item_list_cell_set_background_color, lighterBgColor, theme_on>;
inline constexpr auto item_list_cell_background_color =
    theme_color_getter<saved_item_list_cell_background_color, lighterBgColor, theme_on>;
// -[ThreadSubjectView layoutSubviews]
void thread_subject_layout_subviews(id self, SEL cmd);
// -[MDCFloatingButton backgroundColorForState:], -setBackgroundColor: and
// -backgroundColor
id floating_button_background_for_state(id self, SEL cmd, unsigned long state);
inline constexpr auto floating_button_set_background_color =
    theme_color_setter<saved_floating_button_set_background_color, lighterBgColor, theme_on>;
inline constexpr auto floating_button_background_color =
    theme_color_getter<saved_floating_button_background_color, lighterBgColor, theme_on>;
// -[GBTKeyboardPromoView setBackgroundColor:] and -backgroundColor
inline constexpr auto keyboard_promo_set_background_color =
    theme_color_setter<saved_keyboard_promo_set_background_color, lighterBgColor, theme_on>;
inline constexpr auto keyboard_promo_background_color =
    theme_color_getter<saved_keyboard_promo_background_color, lighterBgColor, theme_on>;

}  // namespace tenebra
