// A hook row: one method the theme replaces, the rule that replaces it, the
// slot that keeps the implementation it replaced and the rule's signature.
// The installer takes the whole table as a span of rows, in order.
#pragma once

#include <span>
#include <string>

#include "core/saved_implementation.h"
#include "platform/objc/runtime.h"

namespace tenebra {

enum class Side { kInstance, kClassMethod };

struct HookRow {
  const char* class_name;
  Side side;
  const char* selector;
  IMP rule;
  IMP* slot;
  // The type encoding of the rule's signature, to hold against the method
  // the row replaces.
  std::string (*signature)();
};

// A row with its rule. The rule and its slot share one function type, so a
// rule cannot call through a slot of another shape.
template <typename Fn>
HookRow hook(const char* class_name, Side side, const char* selector, Fn* rule,
             SavedImplementation<Fn>& saved) {
  return {class_name, side, selector, objc::to_imp(rule), saved.slot(),
          &SavedImplementation<Fn>::encoding};
}

// Installs every row, in order, whatever the settings say.
// Rows on consecutive entries of one class look the class up once; class
// rows are installed on the metaclass. A class the process lacks, or one
// that does not answer the selector, is left alone with its slot empty.
void install_hooks(std::span<const HookRow> rows);

}  // namespace tenebra
