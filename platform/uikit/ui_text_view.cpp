// UITextView: its plain and attributed texts, text colour and typing
// attributes, each kept apart as given.
#include "platform/uikit/ui_controls.h"

namespace ui {
namespace {

using objc::Ref;

const MemberProperty kTextViewText{{"UITextView", "_text"}};
const MemberProperty kTextViewTextColor{{"UITextView", "_textColor"}};
const MemberProperty kTextViewAttributedText{{"UITextView", "_attributedText"}};
const MemberProperty kTextViewTypingAttributes{{"UITextView", "_typingAttributes"}};

id text_view_text(id self, SEL) { return kTextViewText.get(self); }
void text_view_set_text(id self, SEL, id text) { kTextViewText.copy(self, text); }
id text_view_text_color(id self, SEL) { return kTextViewTextColor.get(self); }
void text_view_set_text_color(id self, SEL, id color) { kTextViewTextColor.retain(self, color); }
id text_view_attributed_text(id self, SEL) { return kTextViewAttributedText.get(self); }
void text_view_set_attributed_text(id self, SEL, id text) {
  kTextViewAttributedText.copy(self, text);
}
id text_view_typing_attributes(id self, SEL) { return kTextViewTypingAttributes.get(self); }
void text_view_set_typing_attributes(id self, SEL, id attributes) {
  kTextViewTypingAttributes.copy(self, attributes);
}

}  // namespace

void define_text_view_class(Class view) {
  objc::ClassDefinition("UITextView", view)
      .member<Ref>("_text")
      .member<Ref>("_textColor")
      .member<Ref>("_attributedText")
      .member<Ref>("_typingAttributes")
      .method("text", text_view_text)
      .method("setText:", text_view_set_text)
      .method("textColor", text_view_text_color)
      .method("setTextColor:", text_view_set_text_color)
      .method("attributedText", text_view_attributed_text)
      .method("setAttributedText:", text_view_set_attributed_text)
      .method("typingAttributes", text_view_typing_attributes)
      .method("setTypingAttributes:", text_view_set_typing_attributes)
      .finish();
}

}  // namespace ui
