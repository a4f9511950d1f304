#include "overrides/system/keyboard.h"

#include "overrides/substitution.h"
#include "overrides/system/keyboard_choice.h"
#include "platform/objc/message.h"

namespace tenebra {

SavedImplementation<BOOL(id, SEL)> saved_render_config_light_keyboard;
SavedImplementation<void(id, SEL)> saved_keyboard_dock_layout_subviews;

BOOL render_config_light_keyboard(id self, SEL cmd) {
  const std::optional<bool> light = themed_light_keyboard(settings);
  if (!light) return saved_render_config_light_keyboard(self, cmd);
  return *light ? YES : NO;
}

void keyboard_dock_layout_subviews(id self, SEL cmd) {
  saved_keyboard_dock_layout_subviews(self, cmd);
  if (!keyboard_theme_on()) return;
  static SEL set_background_color = objc::sel("setBackgroundColor:");
  objc::msg<void>(self, set_background_color, lighterBgColor);
}

}  // namespace tenebra
