// Typed message sends. On the device a send is objc_msgSend; on this runtime
// it is a lookup (objc_msg_lookup) and a call through the implementation cast
// to the caller's signature. Two guarantees on top of the runtime:
//  - an absent receiver answers zero, false or absent without a lookup, for
//    floating-point and struct results too;
//  - the caller's signature is checked against the method's type encoding, and
//    a mismatch stops the process at once instead of corrupting memory.
// An unknown selector raises the platform exception, as on the device.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <string>
#include <type_traits>

#include "platform/objc/runtime.h"
#include "platform/objc/type_encoding.h"

namespace objc {

class Ref;

// A tracer's view of dispatch, as DTrace's objc provider gives on the device:
// while set, every typed send first tells it the implementation it resolved
// to. Unset, a send pays one test of this pointer. Set and cleared on the
// main thread, with no send under way.
using SendProbe = void (*)(IMP);
extern SendProbe send_probe;

// What an argument travels as: owning pointers and nullptr as plain ids.
template <typename T>
struct Wire {
  using type = std::decay_t<T>;
};
template <>
struct Wire<std::nullptr_t> {
  using type = id;
};
template <>
struct Wire<Ref> {
  using type = id;
};
template <typename T>
using wire_t = typename Wire<std::remove_cv_t<std::remove_reference_t<T>>>::type;

namespace detail {

// Raises NSInvalidArgumentException for a selector the receiver does not
// answer, with the text the device gives.
[[noreturn]] void raise_unrecognized_selector(id receiver, SEL sel);

// Finds the method that `search_class` answers `sel` with and compares its
// encoding with the caller's; raises the platform exception for an unknown
// selector and aborts on a mismatch. Returns normally when they agree.
void verify_send(Class search_class, id receiver, SEL sel, const std::string& expected);

// `imp`, once the method `search_class` answers `sel` with is known to have
// the caller's signature. Each distinct signature keeps the few
// implementations it has already verified, so a repeated send costs a short
// scan.
template <typename R, typename... Args>
IMP verified(IMP imp, Class search_class, id receiver, SEL sel) {
  static std::array<std::atomic<IMP>, 8> verified{};
  static std::atomic<unsigned> next{0};
  for (auto& slot : verified) {
    if (slot.load(std::memory_order_relaxed) == imp) return imp;
  }
  static const std::string expected = method_encoding<R, Args...>();
  verify_send(search_class, receiver, sel, expected);
  verified[next.fetch_add(1, std::memory_order_relaxed) % verified.size()].store(
      imp, std::memory_order_relaxed);
  return imp;
}

template <typename R, typename... Args>
IMP checked_lookup(id receiver, SEL sel) {
  IMP imp = objc_msg_lookup(receiver, sel);
  if (send_probe != nullptr) [[unlikely]] send_probe(imp);
  return verified<R, Args...>(imp, object_getClass(receiver), receiver, sel);
}

template <typename T>
id as_id(T value) {
  return value;
}

}  // namespace detail

// [receiver sel args...], typed by the caller.
template <typename R, typename... Args>
R msg(id receiver, SEL sel, Args... args) {
  if (receiver == nil) {
    if constexpr (std::is_void_v<R>) {
      return;
    } else {
      return R{};
    }
  }
  IMP imp = detail::checked_lookup<R, wire_t<Args>...>(receiver, sel);
  using Fn = R(id, SEL, wire_t<Args>...);
  return from_imp<Fn>(imp)(receiver, sel, static_cast<wire_t<Args>>(args)...);
}

template <typename R, typename... Args>
R msg(id receiver, const char* selector, Args... args) {
  return msg<R>(receiver, sel(selector), std::forward<Args>(args)...);
}

// A class method: [cls sel args...].
template <typename R, typename... Args>
R msg(Class cls, const char* selector, Args... args) {
  return msg<R>(reinterpret_cast<id>(cls), sel(selector), std::forward<Args>(args)...);
}

template <typename R, typename... Args>
R msg(Class cls, SEL selector, Args... args) {
  return msg<R>(reinterpret_cast<id>(cls), selector, std::forward<Args>(args)...);
}

// [super sel args...] from a method defined on `defining_class` (for a class
// method, pass the metaclass).
template <typename R, typename... Args>
R msg_super(id self, Class defining_class, SEL sel, Args... args) {
  if (self == nil) {
    if constexpr (std::is_void_v<R>) {
      return;
    } else {
      return R{};
    }
  }
  objc_super super_ref{self, class_getSuperclass(defining_class)};
  IMP imp = detail::verified<R, wire_t<Args>...>(objc_msg_lookup_super(&super_ref, sel),
                                                 super_ref.super_class, self, sel);
  using Fn = R(id, SEL, wire_t<Args>...);
  return from_imp<Fn>(imp)(self, sel, static_cast<wire_t<Args>>(args)...);
}

// Whether the object's class (or metaclass, for a class) answers the selector.
inline bool responds(id object, SEL sel) {
  return object != nil && class_respondsToSelector(object_getClass(object), sel);
}

}  // namespace objc
