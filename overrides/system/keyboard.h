// The keyboard under the theme: its style follows the dark-keyboard setting,
// and its dock and the PIN keypad take dark backgrounds while the dark
// keyboard is on.
#pragma once

#include "core/saved_implementation.h"

namespace tenebra {

extern SavedImplementation<BOOL(id, SEL)> saved_render_config_light_keyboard;
extern SavedImplementation<void(id, SEL)> saved_keyboard_dock_layout_subviews;

// -[UIKBRenderConfig lightKeyboard]
BOOL render_config_light_keyboard(id self, SEL cmd);
// -[UIKeyboardDockView layoutSubviews]: after each layout, the dock's
// background is the raised-surface colour again.
void keyboard_dock_layout_subviews(id self, SEL cmd);

}  // namespace tenebra
