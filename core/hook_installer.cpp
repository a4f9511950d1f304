// The installer of hook rows: each row through the substrate, in order.
#include <cstring>

#include "core/hook_row.h"
#include "platform/substrate/substrate.h"

namespace tenebra {

void install_hooks(std::span<const HookRow> rows) {
  const char* looked_up_name = nullptr;
  Class looked_up = Nil;
  for (const HookRow& row : rows) {
    if (looked_up_name == nullptr || std::strcmp(looked_up_name, row.class_name) != 0) {
      looked_up_name = row.class_name;
      looked_up = objc_getClass(row.class_name);
    }
    Class target = row.side == Side::kClassMethod && looked_up != Nil
                       ? object_getClass(reinterpret_cast<id>(looked_up))
                       : looked_up;
    MSHookMessageEx(target, sel_registerName(row.selector), row.rule, row.slot);
  }
}

}  // namespace tenebra
