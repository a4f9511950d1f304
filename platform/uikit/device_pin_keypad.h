// DevicePINKeypad: the system's number pad for entering a PIN, twelve keys in
// four rows on a pale backdrop that it sets on itself when it is made.
#pragma once

namespace ui {

// Defines DevicePINKeypad; called once at platform start, after the buttons.
void define_pin_keypad_classes();

}  // namespace ui
