// `tenebra preview`: the app's screens before and after the theme.
//
//   tenebra preview [--root DIR] [--out DIR] [--screens LIST] [--scale N]
//                   [--keyboard dark|light]
//
// builds each screen of the host app model with the library the device root
// has installed, once with the theme off and once on (the built-in settings,
// `enableDarkKeyboard` as --keyboard says), in processes of their own as the
// app would start; draws each to OUT/before/SCREEN.png and
// OUT/after/SCREEN.png at the screen's scale (2 unless --scale says, 1 to
// 4); audits the contrast of every text on the themed screens; and writes
// OUT/index.html (OUT is "preview" unless --out says). The screens: inbox,
// thread, compose, sidepanel, datepicker, safari, settings (all unless
// --screens names some, comma-separated). The settings file under the root
// is neither read nor changed.
//
// Prints a short summary (screens, views themed, texts audited, the texts
// below 4.5:1) and the index page's path. Exit status: 0 when every screen
// was drawn, 1 when one could not be, 2 for a usage error or a device root
// that is no directory.
#pragma once

#include <ostream>

namespace preview {

int run(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace preview
