// The grey colour rule on +[UIColor colorWithWhite:alpha:]: every grey made
// this way in the process, the library's own included, passes here.
#pragma once

#include "core/saved_implementation.h"

namespace tenebra {

extern SavedImplementation<id(id, SEL, double, double)> saved_color_with_white;
id color_with_white(id self, SEL _cmd, double white, double alpha);

}  // namespace tenebra
