// The object constants a framework exports as global data
// (NSForegroundColorAttributeName, ...), by name. A debugger reaches them
// through their symbols and debug information; tools here ask this table,
// which each framework fills as it defines its constants.
#pragma once

#include <optional>
#include <string_view>

#include "platform/objc/runtime.h"

namespace objc {

// Makes the global at `address` reachable under `name` (its symbol's name).
void export_object(const char* name, id* address);
// The current value of the exported global `name`, or nothing when no
// framework exports one of that name.
std::optional<id> exported_object(std::string_view name);

}  // namespace objc
