// The specifier list every page of the pane keeps: loaded from the bundle's
// resource `name` at the page's first request, with the page as the target
// of its cells, kept in the inherited `_specifiers` for the page's life.
#pragma once

#include "platform/objc/runtime.h"

namespace tenebrasettings {

id specifier_list(id controller, const char* name);

}  // namespace tenebrasettings
