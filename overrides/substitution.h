// The two shapes most rules take, written once. A getter rule answers a
// theme colour while its gate holds, without asking the saved
// implementation; a setter rule hands the saved implementation a theme
// colour in place of the incoming one while its gate holds. Otherwise both
// call through unchanged. The gates and colours are read at each call.
#pragma once

#include "core/saved_implementation.h"
#include "core/palette.h"
#include "core/settings.h"

namespace tenebra {

// The theme as a whole.
inline bool theme_on() { return settings.enabled != 0; }
// The dark keyboard, pickers, PIN keypad and dock: the theme and the dark
// keyboard both on.
inline bool keyboard_theme_on() {
  return settings.enabled != 0 && settings.enableDarkKeyboard != 0;
}

template <SavedImplementation<id(id, SEL)>& saved, id& color, bool (*gate)()>
id theme_color_getter(id self, SEL cmd) {
  return gate() ? color : saved(self, cmd);
}

template <SavedImplementation<void(id, SEL, id)>& saved, id& color, bool (*gate)()>
void theme_color_setter(id self, SEL cmd, id incoming) {
  saved(self, cmd, gate() ? color : incoming);
}

}  // namespace tenebra
