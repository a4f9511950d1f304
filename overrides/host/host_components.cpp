#include "overrides/host/host_components.h"

#include "core/host_interface.h"
#include "platform/coregraphics/geometry.h"
#include "platform/objc/message.h"

namespace tenebra {

SavedImplementation<id(id, SEL)> saved_expandable_field_tint_color;
SavedImplementation<void(id, SEL)> saved_search_bar_gradient_layout_subviews;
SavedImplementation<void(id, SEL, id)> saved_rounded_corner_set_fill_color;
SavedImplementation<id(id, SEL)> saved_rounded_corner_fill_color;
SavedImplementation<void(id, SEL, id)> saved_item_list_cell_set_background_color;
SavedImplementation<id(id, SEL)> saved_item_list_cell_background_color;
SavedImplementation<void(id, SEL)> saved_thread_subject_layout_subviews;
SavedImplementation<id(id, SEL, unsigned long)> saved_floating_button_background_for_state;
SavedImplementation<void(id, SEL, id)> saved_floating_button_set_background_color;
SavedImplementation<id(id, SEL)> saved_floating_button_background_color;
SavedImplementation<void(id, SEL, id)> saved_keyboard_promo_set_background_color;
SavedImplementation<id(id, SEL)> saved_keyboard_promo_background_color;

using objc::msg;

// The backing view has the bar's size at this moment and keeps it: it is
// never resized. Its black passes through the view background rule, which
// leaves it as it is.
void search_bar_gradient_layout_subviews(id self, SEL cmd) {
  static SEL subviews = objc::sel("subviews");
  static SEL count = objc::sel("count");
  if (theme_on() && msg<unsigned long>(msg<id>(self, subviews), count) == 0) {
    const CGSize size = msg<CGRect>(self, "frame").size;
    id backing = msg<id>(msg<id>(objc_getClass("UIView"), "alloc"),
                         "initWithFrame:", CGRectMake(0, 0, size.width, size.height));
    msg<void>(backing, "setBackgroundColor:", bgColor);
    msg<void>(self, "addSubview:", backing);
    msg<void>(backing, "release");
  }
  saved_search_bar_gradient_layout_subviews(self, cmd);
}

// Follows `enabled`: with the theme off the subject keeps the app's dark
// text on its white background, which the palette's light grey would make
// unreadable. A member that is absent or holds no text view is left alone.
void thread_subject_layout_subviews(id self, SEL cmd) {
  saved_thread_subject_layout_subviews(self, cmd);
  if (!theme_on()) return;
  static SEL set_text_color = objc::sel("setTextColor:");
  id* subject = member_named(self, "_subjectTextView");
  if (subject != nullptr && objc::responds(*subject, set_text_color)) {
    msg<void>(*subject, set_text_color, textColor);
  }
}

// Follows `enabled`: the button shows the colour of its state, so with the
// theme off the app's own colours (and its dark icon on them) come back.
id floating_button_background_for_state(id self, SEL cmd, unsigned long state) {
  return theme_on() ? lighterBgColor : saved_floating_button_background_for_state(self, cmd, state);
}

}  // namespace tenebra
