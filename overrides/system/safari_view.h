// The in-app Safari view under the theme: its controls take the palette's
// text colour and its bars the raised-surface colour, set once on the
// controller its initialiser made.
#pragma once

#include "core/saved_implementation.h"

namespace tenebra {

extern SavedImplementation<id(id, SEL, id)> saved_safari_init_with_url;

// -[SFSafariViewController initWithURL:]
id safari_init_with_url(id self, SEL cmd, id url);

}  // namespace tenebra
