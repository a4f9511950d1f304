// NSSet, NSMutableSet and NSCountedSet: collections of distinct objects,
// distinct by isEqual: and hash. A counted set also counts how many times
// each distinct object was added. Iteration follows the order in which the
// distinct objects first came in (the device promises no order; a fixed one
// keeps every run alike).
#pragma once

#include <vector>

#include "platform/objc/runtime.h"

namespace ns {

void define_set_classes();

// The distinct objects of a set in order; empty for nil or another kind of
// object. The ids are valid while the set holds them.
std::vector<id> set_items(id set);
bool is_set(id object);

}  // namespace ns
