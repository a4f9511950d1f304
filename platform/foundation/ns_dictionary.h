// NSDictionary and NSMutableDictionary: maps from keys to objects. Keys are
// compared by isEqual: and found by hash, and a key is copied (`copy`) when
// it is first stored, so changing the caller's mutable key later changes
// nothing here. Entries keep the order in which their keys were first added,
// which is the order of allKeys, allValues and the description.
#pragma once

#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/objc/runtime.h"

namespace ns {

void define_dictionary_classes();

// A new autoreleased NSDictionary of the given (key, value) pairs, in order;
// neither may be nil.
id dictionary(std::initializer_list<std::pair<id, id>> entries);
// The (key, value) pairs of an NSDictionary in order; empty for nil or
// another kind of object. The ids are valid while the dictionary holds them.
std::vector<std::pair<id, id>> dictionary_items(id dictionary);
bool is_dictionary(id object);

}  // namespace ns
