// The Objective-C runtime as the platform and the theme see it: GCC's libobjc,
// with the few names its C interface lacks next to Apple's (YES/NO/nil, IMP
// casts). Everything else in this folder is our thin C++ layer on top of it.
#pragma once

#include <objc/message.h>
#include <objc/runtime.h>

#include <cstddef>
#include <cstdlib>
#include <string>

#ifndef YES
#define YES static_cast<BOOL>(1)
#endif
#ifndef NO
#define NO static_cast<BOOL>(0)
#endif

namespace objc {

// Implementations are stored as IMP but called through their real type; the
// detour through void(*)() is the sanctioned way to convert between function
// pointer types.
template <typename Fn>
IMP to_imp(Fn* fn) {
  return reinterpret_cast<IMP>(reinterpret_cast<void (*)()>(fn));
}
template <typename Fn>
Fn* from_imp(IMP imp) {
  return reinterpret_cast<Fn*>(reinterpret_cast<void (*)()>(imp));
}

// Interns a selector name; the runtime keeps one selector per name.
inline SEL sel(const char* name) { return sel_registerName(name); }

// The exact name of the object's own class (never an ancestor's), or "nil".
inline const char* class_name_of(id object) {
  return object ? class_getName(object_getClass(object)) : "nil";
}

// Whether `cls` is `ancestor` or inherits from it, found by walking the
// superclasses without a message; false for Nil.
inline bool class_is_kind_of(Class cls, Class ancestor) {
  if (ancestor == Nil) return false;
  for (; cls != Nil; cls = class_getSuperclass(cls)) {
    if (cls == ancestor) return true;
  }
  return false;
}

// Whether the object's class is `cls` or inherits from it, as
// class_is_kind_of walks; false for nil or Nil.
inline bool is_kind_of(id object, Class cls) {
  return object != nil && class_is_kind_of(object_getClass(object), cls);
}

// The method `cls` defines itself for `sel`, or null when it has none (it
// may still inherit one, which class_getInstanceMethod would find).
inline Method own_method(Class cls, SEL sel) {
  unsigned int count = 0;
  Method* methods = class_copyMethodList(cls, &count);
  Method found = nullptr;
  for (unsigned int i = 0; i < count && found == nullptr; ++i) {
    if (sel_isEqual(method_getName(methods[i]), sel)) found = methods[i];
  }
  std::free(methods);
  return found;
}

// How messages about a call name it: "-[NSMutableArray addObject:]" for an
// instance receiver, "+[UIColor colorWithRed:green:blue:alpha:]" for a class.
inline std::string method_name(id receiver, SEL sel) {
  const bool is_class = receiver != nil && class_isMetaClass(object_getClass(receiver));
  std::string name = is_class ? "+[" : "-[";
  name += class_name_of(receiver);
  name += ' ';
  name += sel_getName(sel);
  name += ']';
  return name;
}

}  // namespace objc
