// UIScreen: the device's main screen and its scale, the number of pixels per
// point (2.0 unless the model sets another).
#pragma once

namespace ui {

void define_screen_class();

// The main screen's scale as [[UIScreen mainScreen] scale] answers it.
double main_screen_scale();
// Sets it, for a host that plays another device; a value that is not a
// finite number above 0 is ignored.
void set_main_screen_scale(double scale);

}  // namespace ui
