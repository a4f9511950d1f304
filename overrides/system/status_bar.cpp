#include "overrides/system/status_bar.h"

#include "overrides/substitution.h"
#include "platform/objc/message.h"

namespace tenebra {

SavedImplementation<id(id, SEL)> saved_status_bar_image_tint_color;
SavedImplementation<id(id, SEL)> saved_status_bar_string_text_color;
SavedImplementation<id(id, SEL)> saved_status_bar_signal_active_color;
SavedImplementation<id(id, SEL, id, id, id)> saved_status_bar_style_attributes_init;
SavedImplementation<id(id, SEL)> saved_status_bar_style_foreground_color;

namespace {

id white() {
  static SEL white_color = objc::sel("whiteColor");
  return objc::msg<id>(objc_getClass("UIColor"), white_color);
}

// White while the theme is on, for every instance and state.
id white_or(const SavedImplementation<id(id, SEL)>& saved, id self, SEL cmd) {
  return theme_on() ? white() : saved(self, cmd);
}

}  // namespace

id status_bar_image_tint_color(id self, SEL cmd) {
  return white_or(saved_status_bar_image_tint_color, self, cmd);
}
id status_bar_string_text_color(id self, SEL cmd) {
  return white_or(saved_status_bar_string_text_color, self, cmd);
}
id status_bar_signal_active_color(id self, SEL cmd) {
  return white_or(saved_status_bar_signal_active_color, self, cmd);
}
id status_bar_style_foreground_color(id self, SEL cmd) {
  return white_or(saved_status_bar_style_foreground_color, self, cmd);
}

// The background colour and the request pass as they are.
id status_bar_style_attributes_init(id self, SEL cmd, id request, id background, id foreground) {
  return saved_status_bar_style_attributes_init(self, cmd, request, background,
                                                theme_on() ? white() : foreground);
}

}  // namespace tenebra
