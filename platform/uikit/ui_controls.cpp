#include "platform/uikit/ui_controls.h"

#include "platform/coregraphics/geometry.h"
#include "platform/foundation/ns_object.h"
#include "platform/uikit/text_attributes.h"

namespace ui {
namespace {

using objc::msg;
using objc::Ref;

// A property kept in a member: the member's name is the property's with a
// leading underscore, as UIKit names its own.
struct Property {
  objc::Member<Ref> member;

  id get(id self) const { return member.of(self); }
  void retain(id self, id value) const { member.of(self) = Ref::retain(value); }
  void copy(id self, id value) const { member.of(self) = Ref::adopt(msg<id>(value, "copy")); }
};

const Property kLabelText{{"UILabel", "_text"}};
const Property kLabelTextColor{{"UILabel", "_textColor"}};
const Property kLabelAttributedText{{"UILabel", "_attributedText"}};

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
const Property kLabelDefaultAttributes{{"UILabel", "_defaultAttributes"}};
// What the last drawing pass drew: the attributed text, or the plain text
// in the default attributes.
const Property kLabelSynthesizedText{{"UILabel", "_synthesizedAttributedText"}};

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

const Property kFieldText{{"UITextField", "_text"}};
const Property kFieldTextColor{{"UITextField", "_textColor"}};
const Property kFieldDefaultTextAttributes{{"UITextField", "_defaultTextAttributes"}};

id field_text(id self, SEL) { return kFieldText.get(self); }
void field_set_text(id self, SEL, id text) { kFieldText.copy(self, text); }
id field_text_color(id self, SEL) { return kFieldTextColor.get(self); }
void field_set_text_color(id self, SEL, id color) { kFieldTextColor.retain(self, color); }
id field_default_text_attributes(id self, SEL) { return kFieldDefaultTextAttributes.get(self); }
void field_set_default_text_attributes(id self, SEL, id attributes) {
  kFieldDefaultTextAttributes.copy(self, attributes);
}

const Property kTextViewText{{"UITextView", "_text"}};
const Property kTextViewTextColor{{"UITextView", "_textColor"}};
const Property kTextViewAttributedText{{"UITextView", "_attributedText"}};
const Property kTextViewTypingAttributes{{"UITextView", "_typingAttributes"}};

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

const Property kBarTintColor{{"UINavigationBar", "_barTintColor"}};
const objc::Member<BOOL> kTranslucent{"UINavigationBar", "_translucent"};

// A bar is translucent by default. The default goes in before UIView's
// initializer runs, because that initializer ends by applying the appearance
// settings, which must win over it.
id bar_init_with_frame(id self, SEL, CGRect frame) {
  kTranslucent.of(self) = YES;
  return objc::msg_super<id>(self, objc_getClass("UINavigationBar"), objc::sel("initWithFrame:"),
                             frame);
}
id bar_tint_color(id self, SEL) { return kBarTintColor.get(self); }
void bar_set_tint_color(id self, SEL, id color) { kBarTintColor.retain(self, color); }
BOOL bar_is_translucent(id self, SEL) { return kTranslucent.of(self); }
void bar_set_translucent(id self, SEL, BOOL translucent) { kTranslucent.of(self) = translucent; }

}  // namespace

void define_control_classes() {
  Class view = objc_getClass("UIView");

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

  objc::ClassDefinition("UINavigationBar", view)
      .member<Ref>("_barTintColor")
      .member<BOOL>("_translucent")
      .method("initWithFrame:", bar_init_with_frame)
      .method("barTintColor", bar_tint_color)
      .method("setBarTintColor:", bar_set_tint_color)
      .method("isTranslucent", bar_is_translucent)
      .method("setTranslucent:", bar_set_translucent)
      .finish();
}

}  // namespace ui
