#include "overrides/system/pickers.h"

#include "platform/objc/message.h"

namespace tenebra {

SavedImplementation<void(id, SEL, id)> saved_picker_set_background_color;
SavedImplementation<id(id, SEL)> saved_date_picker_title_label;

// An absent label, or an answer that is no label, is handed on untouched.
id date_picker_title_label(id self, SEL cmd) {
  id label = saved_date_picker_title_label(self, cmd);
  static SEL set_text_color = objc::sel("setTextColor:");
  if (keyboard_theme_on() && objc::responds(label, set_text_color)) {
    objc::msg<void>(label, set_text_color, textColor);
  }
  return label;
}

}  // namespace tenebra
