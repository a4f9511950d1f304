// The keyboard. A text field or text view in a window that becomes first
// responder brings the keyboard up along the bottom of that window, and
// resigning (or `endEditing:` on a view around it) takes it down. The system picks the keyboard's
// render configuration from the input's keyboard appearance (`UIKBRenderConfig`: light for the
// default and light appearances, dark for the dark one) and the keyboard asks it `lightKeyboard` at
// each of its layouts to choose its backdrop. Along its bottom sits the dock (`UIKeyboardDockView`:
// the globe and dictation keys), which takes the keyboard's backdrop and is laid out again at every
// layout of the keyboard.
#pragma once

namespace ui {

// UIKeyboardAppearance.
enum KeyboardAppearance : long {
  kKeyboardAppearanceDefault = 0,
  kKeyboardAppearanceDark = 1,
  kKeyboardAppearanceLight = 2,
};

inline constexpr double kKeyboardHeight = 291;
inline constexpr double kKeyboardDockHeight = 75;

// Defines UIKBRenderConfig, UIKeyboardDockView and UIKeyboard, and first
// responders on UIResponder, UITextField and UITextView; called once at
// platform start, after the controls and buttons.
void define_keyboard_classes();

}  // namespace ui
