#include "platform/substrate/substrate.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/objc/dispatch.h"
#include "platform/objc/ffi_types.h"

namespace substrate {
namespace {

// The hand-back for a method the hooked class only inherits: a closure with
// the method's own calling convention that, at each call, finds the
// superclass's implementation as it stands then and calls it with the same
// arguments, handing its result back.
struct Trampoline {
  Class hooked_class = Nil;
  SEL sel = nullptr;
};

void forward_to_superclass(ffi_cif* cif, void* result, void** arguments, void* data) {
  const auto* trampoline = static_cast<const Trampoline*>(data);
  IMP imp =
      class_getMethodImplementation(class_getSuperclass(trampoline->hooked_class), trampoline->sel);
  ffi_call(cif, objc::from_imp<void()>(imp), result, arguments);
}

// Saved implementations may be called at any time, so trampolines live for
// the process; keeping them here keeps them reachable.
struct Trampolines {
  std::mutex lock;
  std::vector<std::unique_ptr<Trampoline>> all;

  static Trampolines& shared() {
    static auto* trampolines = new Trampolines;
    return *trampolines;
  }
};

// A trampoline to the superclass's implementation of `sel` for `cls`, or null
// when libffi cannot describe the method's types.
IMP make_trampoline(Class cls, SEL sel, const char* types) {
  const objc::FfiSignature* signature = objc::ffi_signature(types);
  if (signature == nullptr) return nullptr;
  void* code = nullptr;
  auto* closure = static_cast<ffi_closure*>(ffi_closure_alloc(sizeof(ffi_closure), &code));
  if (closure == nullptr) return nullptr;
  auto trampoline = std::make_unique<Trampoline>(Trampoline{cls, sel});
  // libffi only reads the call description; it is shared by every closure
  // and call of this encoding.
  auto* cif = const_cast<ffi_cif*>(&signature->cif);
  if (ffi_prep_closure_loc(closure, cif, forward_to_superclass, trampoline.get(), code) != FFI_OK) {
    ffi_closure_free(closure);
    return nullptr;
  }
  auto& trampolines = Trampolines::shared();
  std::lock_guard guard(trampolines.lock);
  trampolines.all.push_back(std::move(trampoline));
  return reinterpret_cast<IMP>(code);
}

}  // namespace
}  // namespace substrate

extern "C" void MSHookMessageEx(Class _class, SEL message, IMP hook, IMP* old) {
  if (hook == nullptr) {
    std::fprintf(stderr, "MSHookMessageEx: no replacement given for %s on %s\n",
                 message ? sel_getName(message) : "(null)", _class ? class_getName(_class) : "nil");
    std::abort();
  }
  if (_class == Nil || message == nullptr) return;
  Method answered = class_getInstanceMethod(_class, message);
  if (answered == nullptr) return;
  if (method_getImplementation(answered) == hook) return;

  // The slot is written before the hook is reachable, so the hook never
  // runs with an empty slot.
  if (Method own = objc::own_method(_class, message)) {
    if (old != nullptr) *old = method_getImplementation(own);
    objc::set_implementation(_class, own, hook);
    return;
  }
  const char* types = method_getTypeEncoding(answered);
  IMP original = substrate::make_trampoline(_class, message, types);
  // Without a trampoline, the superclass's implementation as it stands now
  // still does what the class did before.
  if (original == nullptr) original = method_getImplementation(answered);
  if (old != nullptr) *old = original;
  class_addMethod(_class, message, hook, types);
}
