// How collections describe themselves: the old-style property-list form the
// platform prints, "(\n    a,\n    b\n)" for arrays, "{(\n    a\n)}" for sets
// and "{\n    k = v;\n}" for dictionaries, nested levels indented four
// spaces more, and texts quoted unless they are plain words.
#pragma once

#include <string>

#include "platform/objc/runtime.h"

namespace ns {

// The description of `object` as it appears `depth` levels deep in a collection.
std::u16string describe(id object, unsigned depth);

}  // namespace ns
