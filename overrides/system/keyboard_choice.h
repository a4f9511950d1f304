// What the keyboard style rule answers: nothing while the theme is off (the
// system's own choice stands), else a light keyboard exactly when the dark
// keyboard is off, whatever the system chose.
#pragma once

#include <optional>

#include "core/settings.h"

namespace tenebra {

inline std::optional<bool> themed_light_keyboard(const Settings& current) {
  if (current.enabled == 0) return std::nullopt;
  return current.enableDarkKeyboard == 0;
}

}  // namespace tenebra
