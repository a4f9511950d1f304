// UITextField: its text, text colour and default text attributes, each kept
// apart as given.
#include "platform/uikit/ui_controls.h"

namespace ui {
namespace {

using objc::Ref;

const MemberProperty kFieldText{{"UITextField", "_text"}};
const MemberProperty kFieldTextColor{{"UITextField", "_textColor"}};
const MemberProperty kFieldDefaultTextAttributes{{"UITextField", "_defaultTextAttributes"}};

id field_text(id self, SEL) { return kFieldText.get(self); }
void field_set_text(id self, SEL, id text) { kFieldText.copy(self, text); }
id field_text_color(id self, SEL) { return kFieldTextColor.get(self); }
void field_set_text_color(id self, SEL, id color) { kFieldTextColor.retain(self, color); }
id field_default_text_attributes(id self, SEL) { return kFieldDefaultTextAttributes.get(self); }
void field_set_default_text_attributes(id self, SEL, id attributes) {
  kFieldDefaultTextAttributes.copy(self, attributes);
}

}  // namespace

void define_text_field_class(Class view) {
  objc::ClassDefinition("UITextField", view)
      .member<Ref>("_text")
      .member<Ref>("_textColor")
      .member<Ref>("_defaultTextAttributes")
      .method("text", field_text)
      .method("setText:", field_set_text)
      .method("textColor", field_text_color)
      .method("setTextColor:", field_set_text_color)
      .method("defaultTextAttributes", field_default_text_attributes)
      .method("setDefaultTextAttributes:", field_set_default_text_attributes)
      .finish();
}

}  // namespace ui
