// Objective-C type encodings derived from C++ types, so that a method's
// encoding is always the one its C++ implementation really has, and a typed
// send can be checked against the method it reaches.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/objc/runtime.h"

namespace objc {

template <typename T, typename = void>
struct Encoding;  // deliberately undefined: an unsupported type fails to compile

#define OBJC_ENCODING(Type, text)                         \
  template <>                                             \
  struct Encoding<Type> {                                 \
    static std::string value() { return text; }           \
  }

OBJC_ENCODING(void, "v");
OBJC_ENCODING(id, "@");
OBJC_ENCODING(Class, "#");
OBJC_ENCODING(SEL, ":");
OBJC_ENCODING(char, "c");
OBJC_ENCODING(signed char, "c");
OBJC_ENCODING(unsigned char, "C");  // BOOL on this runtime
OBJC_ENCODING(short, "s");
OBJC_ENCODING(unsigned short, "S");
OBJC_ENCODING(int, "i");
OBJC_ENCODING(unsigned int, "I");
OBJC_ENCODING(long, "l");
OBJC_ENCODING(unsigned long, "L");
OBJC_ENCODING(long long, "q");
OBJC_ENCODING(unsigned long long, "Q");
OBJC_ENCODING(float, "f");
OBJC_ENCODING(double, "d");
OBJC_ENCODING(bool, "B");
OBJC_ENCODING(char*, "*");
OBJC_ENCODING(const char*, "r*");
#undef OBJC_ENCODING

// Pointers to anything else encode as '^' and the pointee.
template <typename T>
struct Encoding<T*, std::enable_if_t<!std::is_same_v<std::remove_cv_t<T>, char> &&
                                     !std::is_same_v<T*, id> && !std::is_same_v<T*, Class> &&
                                     !std::is_same_v<T*, SEL>>> {
  static std::string value() {
    if constexpr (std::is_void_v<std::remove_cv_t<T>>) {
      return "^v";
    } else {
      return "^" + Encoding<std::remove_cv_t<T>>::value();
    }
  }
};

// The encoding of a method implemented by `R fn(id, SEL, Args...)`.
template <typename R, typename... Args>
std::string method_encoding() {
  std::string text = Encoding<R>::value() + "@:";
  ((text += Encoding<Args>::value()), ...);
  return text;
}

// Whether two encodings describe the same signature. Frame offsets, type
// qualifiers (const, in, out, ...), class names and field names say nothing
// about the calling convention and are ignored; an array's count and a bit
// field's width are not. Text that is no encoding matches only itself.
bool same_signature(std::string_view a, std::string_view b);

}  // namespace objc
