// The keyboard under the theme: its style follows the dark-keyboard setting,
// and its dock and the PIN keypad take dark backgrounds while the dark
// keyboard is on.
#pragma once

#include "core/saved_implementation.h"
#include "platform/coregraphics/geometry.h"

namespace tenebra {

extern SavedImplementation<BOOL(id, SEL)> saved_render_config_light_keyboard;
extern SavedImplementation<id(id, SEL, CGRect)> saved_pin_keypad_init_with_frame;
extern SavedImplementation<void(id, SEL)> saved_keyboard_dock_layout_subviews;

// -[UIKBRenderConfig lightKeyboard]
BOOL render_config_light_keyboard(id self, SEL cmd);
// -[DevicePINKeypad initWithFrame:]: a keypad made while the dark keyboard
// is on starts on a translucent dark grey; later backgrounds are the app's.
id pin_keypad_init_with_frame(id self, SEL cmd, CGRect frame);
// -[UIKeyboardDockView layoutSubviews]: after each layout, the dock's
// background is the raised-surface colour again.
void keyboard_dock_layout_subviews(id self, SEL cmd);

}  // namespace tenebra
