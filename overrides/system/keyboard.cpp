#include "overrides/system/keyboard.h"

#include "overrides/substitution.h"
#include "overrides/system/keyboard_choice.h"
#include "platform/objc/message.h"

namespace tenebra {

SavedImplementation<BOOL(id, SEL)> saved_render_config_light_keyboard;
SavedImplementation<id(id, SEL, CGRect)> saved_pin_keypad_init_with_frame;
SavedImplementation<void(id, SEL)> saved_keyboard_dock_layout_subviews;

BOOL render_config_light_keyboard(id self, SEL cmd) {
  const std::optional<bool> light = themed_light_keyboard(settings);
  if (!light) return saved_render_config_light_keyboard(self, cmd);
  return *light ? YES : NO;
}

// The grey is made through the class method, so it passes the grey colour
// rule, and set through the views' setter, so it passes the view background
// rule, as any grey and any background of the app do.
id pin_keypad_init_with_frame(id self, SEL cmd, CGRect frame) {
  id keypad = saved_pin_keypad_init_with_frame(self, cmd, frame);
  if (keypad == nil || !keyboard_theme_on()) return keypad;
  static SEL color_with_white = objc::sel("colorWithWhite:alpha:");
  static SEL set_background_color = objc::sel("setBackgroundColor:");
  objc::msg<void>(
      keypad, set_background_color,
      objc::msg<id>(objc_getClass("UIColor"), color_with_white, kPinKeypadWhite, kPinKeypadAlpha));
  return keypad;
}

void keyboard_dock_layout_subviews(id self, SEL cmd) {
  saved_keyboard_dock_layout_subviews(self, cmd);
  if (!keyboard_theme_on()) return;
  static SEL set_background_color = objc::sel("setBackgroundColor:");
  objc::msg<void>(self, set_background_color, lighterBgColor);
}

}  // namespace tenebra
