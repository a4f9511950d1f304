// The rule on -[UIView setBackgroundColor:]: every background the app sets
// passes here and is mapped to the palette by class, identifier and colour.
#pragma once

#include "core/saved_implementation.h"

namespace tenebra {

extern SavedImplementation<void(id, SEL, id)> saved_view_set_background_color;
void view_set_background_color(id self, SEL _cmd, id color);

}  // namespace tenebra
