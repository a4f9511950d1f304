#include "platform/objc/dispatch.h"

// Exported by GCC's runtime, though not declared in its public headers: it
// is what the runtime itself runs after adding methods to a live class.
extern "C" void __objc_update_dispatch_table_for_class(Class cls);

namespace objc {

IMP set_implementation(Class owner, Method method, IMP imp) {
  if (owner == Nil || method == nullptr || imp == nullptr) return nullptr;
  // Asking whether the class responds builds its dispatch table when it has
  // none, so the runtime's update lands in the class's own table.
  class_respondsToSelector(owner, method_getName(method));
  IMP previous = method_setImplementation(method, imp);
  // Subclass tables copied from the old one are rebuilt from method lists.
  __objc_update_dispatch_table_for_class(owner);
  return previous;
}

}  // namespace objc
