// `tenebra settings`: the settings pane driven as a user drives it in the
// Settings app, against the Settings app model (host/settings_app.h).
//
//   tenebra settings [--root DIR] [--installed SCHEME...] [COMMAND...]
//
// Commands run in order, on the page currently shown (the pane's root page
// first):
//   show            prints the page: its title, each group with its footer,
//                   each switch with its current value and key, each button
//                   and each link to a sub-page
//   set KEY on|off  flips the switch whose key is KEY
//   tap LABEL       taps the button labelled LABEL
//   page LABEL      opens the sub-page that the link LABEL leads to
// With no command, or when the last one is `page`, the page is shown at the
// end. Every URL the pane opens is printed as "opened URL". --installed
// names URL schemes the model's apps claim, beyond the system's own http,
// https and mailto. Exit status: 0 when every command went through, 1 when
// one failed (an unknown key, label or page, a value that could not be
// stored: its "error: " line says why, and later commands do not run), 2 for
// a usage error.
#pragma once

#include <iosfwd>

namespace tools {

int run_settings(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace tools
