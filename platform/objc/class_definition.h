// Defining runtime classes from C++. A class gets its superclass, its members
// (instance variables, found by name as on the device) and methods whose type
// encodings are derived from the C++ functions that implement them.
//
// A member may hold any C++ type: members that need construction or
// destruction (an owning Ref, a std::u16string) are constructed when an
// instance is made (`construct_members`) and destroyed when it is freed
// (`destroy_members`); the root class's alloc and dealloc call those two.
#pragma once

#include <atomic>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/objc/runtime.h"
#include "platform/objc/type_encoding.h"

namespace objc {

// How a non-trivial member is brought to life and laid to rest.
struct MemberLifecycle {
  std::string name;
  std::ptrdiff_t offset = 0;
  void (*construct)(void*) = nullptr;
  void (*destroy)(void*) = nullptr;
};

template <typename T>
struct MemberEncoding {
  static std::string value() {
    if constexpr (requires { Encoding<T>::value(); }) {
      return Encoding<T>::value();
    } else {
      return "?";  // C++ state the runtime does not describe
    }
  }
};

class ClassDefinition {
 public:
  // A new class; `superclass` nil makes a root class.
  ClassDefinition(const char* name, Class superclass);
  // More methods on a class that already exists (a category).
  static ClassDefinition extend(Class existing);

  template <typename T>
  ClassDefinition& member(const char* name) {
    add_member(name, sizeof(T), alignof(T), MemberEncoding<T>::value());
    if constexpr (!std::is_trivially_default_constructible_v<T> ||
                  !std::is_trivially_destructible_v<T>) {
      lifecycles_.push_back(
          {name, 0, [](void* at) { new (at) T(); }, [](void* at) { static_cast<T*>(at)->~T(); }});
    }
    return *this;
  }

  template <typename R, typename... Args>
  ClassDefinition& method(const char* selector, R (*fn)(id, SEL, Args...)) {
    add_method(cls_, selector, to_imp(fn), method_encoding<R, Args...>(), sizeof...(Args));
    return *this;
  }

  template <typename R, typename... Args>
  ClassDefinition& class_method(const char* selector, R (*fn)(id, SEL, Args...)) {
    add_method(object_getClass(reinterpret_cast<id>(cls_)), selector, to_imp(fn),
               method_encoding<R, Args...>(), sizeof...(Args));
    return *this;
  }

  // Registers a new class with the runtime (no-op for an extension).
  Class finish();

  Class cls() const { return cls_; }

 private:
  explicit ClassDefinition(Class existing) : cls_(existing), registered_(true) {}
  void add_member(const char* name, std::size_t size, std::size_t alignment,
                  const std::string& encoding);
  static void add_method(Class target, const char* selector, IMP imp, const std::string& types,
                         std::size_t argument_count);

  Class cls_ = Nil;
  bool registered_ = false;
  std::vector<MemberLifecycle> lifecycles_;
};

// Runs the constructors / destructors of every non-trivial member of the
// object's class and its ancestors (ancestors first when constructing).
void construct_members(id object);
void destroy_members(id object);

// Offset of a member of `cls` (or an ancestor), or -1 when there is none.
std::ptrdiff_t member_offset(Class cls, const char* name);
// The same for a member the caller's code depends on: stops the process when
// the class or the member does not exist, a programmer's mistake.
std::ptrdiff_t required_member_offset(const char* class_name, const char* member_name);

// A class found by name when first asked for and then kept; asked for before
// the class is defined it answers Nil and looks again next time. Any thread
// may ask: each finds the same class.
class ClassRef {
 public:
  explicit constexpr ClassRef(const char* name) : name_(name) {}

  Class operator()() const {
    Class cls = cls_.load(std::memory_order_relaxed);
    if (cls == Nil) {
      cls = objc_getClass(name_);
      cls_.store(cls, std::memory_order_relaxed);
    }
    return cls;
  }

 private:
  const char* name_;
  mutable std::atomic<Class> cls_{Nil};
};

// A member of a class, found by name once and then reached by offset.
template <typename T>
class Member {
 public:
  constexpr Member(const char* class_name, const char* member_name)
      : class_name_(class_name), member_name_(member_name) {}

  T& of(id object) const {
    if (offset_ < 0) offset_ = required_member_offset(class_name_, member_name_);
    return *reinterpret_cast<T*>(reinterpret_cast<char*>(object) + offset_);
  }

 private:
  const char* class_name_;
  const char* member_name_;
  mutable std::ptrdiff_t offset_ = -1;
};

}  // namespace objc
