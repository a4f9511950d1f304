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
#pragma once

namespace ui {

// Defines UILabel, UITextField, UITextView and UINavigationBar; called once
// at platform start, after UIView.
void define_control_classes();

}  // namespace ui
