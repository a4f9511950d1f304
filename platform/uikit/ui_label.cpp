// UILabel: its text, attributed text and text colour, and what its last
// drawing pass drew from them.
#include "platform/uikit/ui_controls.h"

#include "platform/coregraphics/geometry.h"
#include "platform/uikit/text_attributes.h"

namespace ui {
namespace {

using objc::msg;
using objc::Ref;

const MemberProperty kLabelText{{"UILabel", "_text"}};
const MemberProperty kLabelTextColor{{"UILabel", "_textColor"}};
const MemberProperty kLabelAttributedText{{"UILabel", "_attributedText"}};

id label_text(id self, SEL) { return kLabelText.get(self); }
void label_set_text(id self, SEL, id text) {
  kLabelText.copy(self, text);
  msg<void>(self, "setNeedsDisplay");
}
id label_text_color(id self, SEL) {
  if (id own = kLabelTextColor.get(self)) return own;
  return msg<id>(objc_getClass("UIColor"), "blackColor");
}
id label_attributed_text(id self, SEL) { return kLabelAttributedText.get(self); }
void label_set_attributed_text(id self, SEL, id text) {
  kLabelAttributedText.copy(self, text);
  msg<void>(self, "setNeedsDisplay");
}

// The attributes the label draws its plain text with; its text colour is
// their foreground colour, opaque black until one is set.
const MemberProperty kLabelDefaultAttributes{{"UILabel", "_defaultAttributes"}};
// What the last drawing pass drew: the attributed text, or the plain text
// in the default attributes.
const MemberProperty kLabelSynthesizedText{{"UILabel", "_synthesizedAttributedText"}};

void set_default_foreground(id self, id color) {
  Ref attributes = Ref::adopt(msg<id>(msg<id>(objc_getClass("NSMutableDictionary"), "alloc"),
                                      "initWithDictionary:", kLabelDefaultAttributes.get(self)));
  msg<void>(attributes.get(), "setObject:forKey:",
            color != nil ? color : msg<id>(objc_getClass("UIColor"), "blackColor"),
            NSForegroundColorAttributeName);
  kLabelDefaultAttributes.copy(self, attributes.get());
}
id label_init_with_frame(id self, SEL, CGRect frame) {
  self = objc::msg_super<id>(self, objc_getClass("UILabel"), objc::sel("initWithFrame:"), frame);
  if (self != nil) set_default_foreground(self, nil);
  return self;
}
void label_set_text_color(id self, SEL, id color) {
  kLabelTextColor.retain(self, color);
  set_default_foreground(self, color);
  msg<void>(self, "setNeedsDisplay");
}
void label_draw_rect(id self, SEL, CGRect) {
  id attributed = kLabelAttributedText.get(self);
  if (attributed == nil && kLabelText.get(self) != nil) {
    Ref drawn = Ref::adopt(msg<id>(msg<id>(objc_getClass("NSAttributedString"), "alloc"),
                                   "initWithString:attributes:", kLabelText.get(self),
                                   kLabelDefaultAttributes.get(self)));
    kLabelSynthesizedText.retain(self, drawn.get());
    return;
  }
  kLabelSynthesizedText.copy(self, attributed);
}

}  // namespace

void define_label_class(Class view) {
  objc::ClassDefinition("UILabel", view)
      .member<Ref>("_text")
      .member<Ref>("_textColor")
      .member<Ref>("_attributedText")
      .member<Ref>("_defaultAttributes")
      .member<Ref>("_synthesizedAttributedText")
      .method("initWithFrame:", label_init_with_frame)
      .method("drawRect:", label_draw_rect)
      .method("text", label_text)
      .method("setText:", label_set_text)
      .method("textColor", label_text_color)
      .method("setTextColor:", label_set_text_color)
      .method("attributedText", label_attributed_text)
      .method("setAttributedText:", label_set_attributed_text)
      .finish();
}

}  // namespace ui
