// The hook registry: one table of every method the theme replaces, in the
// fixed order of installation, each row naming its rule and the slot that
// keeps the implementation it replaced.
#pragma once

#include <span>

#include "core/hook_row.h"

namespace tenebra {

// All rows, in installation order.
std::span<const HookRow> hook_registry();

// Installs the registry's rows (see install_hooks(span)).
void install_hooks();

}  // namespace tenebra
