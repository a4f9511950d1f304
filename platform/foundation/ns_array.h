// NSArray and NSMutableArray: ordered lists of objects, each held with a
// reference. Indexes past the end raise NSRangeException and nil elements
// raise NSInvalidArgumentException, as on the device. Equality and
// membership use the elements' isEqual:.
#pragma once

#include <initializer_list>
#include <vector>

#include "platform/objc/runtime.h"

namespace ns {

void define_array_classes();

// A new autoreleased NSArray of the given elements (none of them nil).
id array(std::initializer_list<id> items);
id array(const std::vector<id>& items);
// The elements of an NSArray in order; empty for nil or another kind of
// object. The ids are valid while the array holds them.
std::vector<id> array_items(id array);
bool is_array(id object);

}  // namespace ns
