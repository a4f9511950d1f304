// UIControl and UIButton: a control has a state (normal, highlighted,
// disabled, selected as bits) and a button a title per state.
#pragma once

namespace ui {

enum ControlState : unsigned long {
  kControlStateNormal = 0,
  kControlStateHighlighted = 1 << 0,
  kControlStateDisabled = 1 << 1,
  kControlStateSelected = 1 << 2,
};

// Defines UIControl and UIButton; called once at platform start.
void define_button_classes();

}  // namespace ui
