// The few runtime operations the rules use on the app's objects: class
// names, kind-of tests, owning responders and members by name. Each is
// nil-safe: asked of an absent object it answers absent, false or nothing.
#pragma once

#include <array>
#include <cstddef>

#include "platform/objc/runtime.h"

namespace tenebra {

// The exact name of the object's own class, or null for an absent object.
const char* class_name(id object);

// Whether the object's class is `cls` or inherits from it; false for an
// absent object or class.
bool is_kind_of(id object, Class cls);
// The same for a class: `cls` is `ancestor` or inherits from it.
bool class_is_kind_of(Class cls, Class ancestor);

// The first object on the view's responder chain, from its next responder
// on, that is not a view: normally the view controller owning its tree.
id owning_responder(id view);

// The object member of the given name, or null when the object's class has
// none or the member holds no object.
id* member_named(id object, const char* name);

// Host classes found by name the first time they are needed. A class the app
// does not define is looked up again on the next call and never remembered,
// so a class registered late is still found.
template <std::size_t N>
class ClassCache {
 public:
  explicit constexpr ClassCache(const std::array<const char*, N>& names) : names_(names) {}

  Class get(std::size_t index) {
    if (classes_[index] == Nil) {
      classes_[index] = objc_getClass(names_[index]);
      if (classes_[index] != Nil) ++found_;
    }
    return classes_[index];
  }
  // Looks up again every name not found so far; true when one is found now.
  bool find_missing() {
    if (found_ == N) return false;
    bool found = false;
    for (std::size_t index = 0; index < N; ++index) {
      if (classes_[index] == Nil && get(index) != Nil) found = true;
    }
    return found;
  }
  static constexpr std::size_t size() { return N; }

 private:
  std::array<const char*, N> names_;
  std::array<Class, N> classes_{};
  std::size_t found_ = 0;
};

}  // namespace tenebra
