// The view subclasses whose colours the theme reads and sets: labels, text
// fields, text views and navigation bars. Each keeps its properties as
// given; texts and attribute sets are copied, colours retained.
//
// A label with no text colour of its own draws, and reports, opaque black.
// It draws its plain text in its default attributes (member
// "_defaultAttributes", whose foreground is its text colour) and keeps what
// it drew in "_synthesizedAttributedText"; setting its text, attributed text
// or text colour marks it for the next display pass.
// Text fields and text views report nil until a text colour is set (they
// draw black). The text colour and the text attributes of a field or view
// are kept apart, and so are plain and attributed texts: setting one does
// not rewrite the other.
//
// Each control's class is in a file of its own; here is the property kept in
// a member that they share.
#pragma once

#include "platform/foundation/ns_object.h"

namespace ui {

// A property kept in a member: the member's name is the property's with a
// leading underscore, as UIKit names its own.
struct MemberProperty {
  objc::Member<objc::Ref> member;

  id get(id self) const { return member.of(self); }
  void retain(id self, id value) const { member.of(self) = objc::Ref::retain(value); }
  void copy(id self, id value) const {
    member.of(self) = objc::Ref::adopt(objc::msg<id>(value, "copy"));
  }
};

// Defines UILabel, UITextField, UITextView and UINavigationBar; called once
// at platform start, after UIView.
void define_control_classes();

// Each defines its class as a subclass of `view`.
void define_label_class(Class view);
void define_text_field_class(Class view);
void define_text_view_class(Class view);
void define_navigation_bar_class(Class view);

}  // namespace ui
