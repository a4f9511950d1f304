#include "overrides/system/pickers.h"

#include "platform/objc/message.h"
#include "platform/objc/ref.h"
#include "platform/uikit/text_attributes.h"

namespace tenebra {
namespace {
using objc::msg;
}  // namespace

SavedImplementation<void(id, SEL, id)> saved_picker_set_background_color;
SavedImplementation<id(id, SEL)> saved_date_picker_title_label;
SavedImplementation<void(id, SEL, id)> saved_picker_cell_set_attributed_title;

// An absent label, or an answer that is no label, is handed on untouched.
id date_picker_title_label(id self, SEL cmd) {
  id label = saved_date_picker_title_label(self, cmd);
  static SEL set_text_color = objc::sel("setTextColor:");
  if (keyboard_theme_on() && objc::responds(label, set_text_color)) {
    msg<void>(label, set_text_color, textColor);
  }
  return label;
}

// Fonts, paragraph styles and the app's own colours are all dropped. An
// absent title, or one that is no attributed text, is handed on as it is.
void picker_cell_set_attributed_title(id self, SEL cmd, id title) {
  static SEL is_kind_of = objc::sel("isKindOfClass:");
  if (!keyboard_theme_on() || !msg<BOOL>(title, is_kind_of, objc_getClass("NSAttributedString"))) {
    return saved_picker_cell_set_attributed_title(self, cmd, title);
  }
  const id keys[] = {NSForegroundColorAttributeName};
  const id values[] = {textColor};
  const objc::Ref attributes =
      objc::Ref::adopt(msg<id>(msg<id>(objc_getClass("NSDictionary"), "alloc"),
                               "initWithObjects:forKeys:count:", values, keys, 1UL));
  const objc::Ref themed =
      objc::Ref::adopt(msg<id>(msg<id>(objc_getClass("NSAttributedString"), "alloc"),
                               "initWithString:attributes:", msg<id>(title, "string"), attributes));
  saved_picker_cell_set_attributed_title(self, cmd, themed);
}

}  // namespace tenebra
