// The hook registry: one table of every method the theme replaces, in the
// fixed order of installation, each row naming its rule and the slot that
// keeps the implementation it replaced.
#pragma once

#include <span>
#include <string>

#include "platform/objc/runtime.h"

namespace tenebra {

enum class Side { instance, class_method };

struct HookEntry {
  const char* class_name;
  Side side;
  const char* selector;
  // The rule, or null for a row whose rule this build does not have yet:
  // such a row is not installed.
  IMP rule;
  IMP* slot;
  // The rule's own type encoding, to check it against the replaced method.
  std::string (*rule_encoding)();
};

// All rows, in installation order.
std::span<const HookEntry> hook_registry();

// Installs every row that has a rule, in order, whatever the settings say.
// Rows on consecutive entries of one class look the class up once; class
// rows are installed on the metaclass. A class the process lacks, or one
// that does not answer the selector, is left alone with its slot empty.
void install_hooks();

}  // namespace tenebra
