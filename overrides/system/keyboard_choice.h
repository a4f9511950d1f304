// What the keyboard style rule answers: nothing while the theme is off (the
// system's own choice stands), else a light keyboard exactly when the dark
// keyboard is off, whatever the system chose. And the grey a PIN keypad
// starts on under the dark keyboard.
#pragma once

#include <optional>

#include "core/settings.h"

namespace tenebra {

// White 40/255 at 70 % alpha: a grey the grey colour rule leaves as it is.
inline constexpr double kPinKeypadWhite = 40.0 / 255.0;
inline constexpr double kPinKeypadAlpha = 0.7;

inline std::optional<bool> themed_light_keyboard(const Settings& current) {
  if (current.enabled == 0) return std::nullopt;
  return current.enableDarkKeyboard == 0;
}

}  // namespace tenebra
