// Boxed invocations: a message send whose selector and arguments are chosen at
// run time, as an NSInvocation is on the device. Arguments and the result
// travel as `Boxed` values; the method's own type encoding says how each
// argument is passed and how the result comes back, and libffi makes the
// call. The console evaluates `[receiver selector:argument ...]` with it.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "platform/objc/runtime.h"
#include "platform/objc/type_encoding.h"

namespace objc {

// One argument or result of a send, with the encoding of its type. Objects are
// not retained: a boxed object is only as alive as its owner keeps it.
class Boxed {
 public:
  struct Bytes {
    std::vector<unsigned char> data;
    friend bool operator==(const Bytes&, const Bytes&) = default;
  };
  // The alternatives, in order: nothing (a void result), an object, a class,
  // a selector, a signed integer, an unsigned integer, a double, a float, a
  // BOOL, a C string, a pointer, a struct's bytes.
  using Value = std::variant<std::monostate, id, Class, SEL, long long, unsigned long long, double,
                             float, BOOL, std::string, void*, Bytes>;

  Boxed() : encoding_("v") {}
  static Boxed object(id value) { return Boxed(value, "@"); }
  static Boxed class_object(Class value) { return Boxed(value, "#"); }
  static Boxed selector(SEL value) { return Boxed(value, ":"); }
  static Boxed integer(long long value) { return Boxed(value, "q"); }
  static Boxed unsigned_integer(unsigned long long value) { return Boxed(value, "Q"); }
  static Boxed real(double value) { return Boxed(value, "d"); }
  static Boxed single(float value) { return Boxed(value, "f"); }
  static Boxed boolean(BOOL value) { return Boxed(value, Encoding<BOOL>::value()); }
  static Boxed c_string(std::string text) { return Boxed(std::move(text), "*"); }
  static Boxed pointer(void* value) { return Boxed(value, "^v"); }
  // A struct's bytes as the type `encoding` ("{_NSRange=QQ}") lays them out.
  static Boxed structure(std::string encoding, std::vector<unsigned char> bytes) {
    return Boxed(Bytes{std::move(bytes)}, std::move(encoding));
  }
  template <typename T>
  static Boxed structure(const T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
    return structure(Encoding<T>::value(), {bytes, bytes + sizeof(T)});
  }
  // A value of any kind with an explicit type encoding, as a result has.
  static Boxed with_encoding(Value value, std::string encoding) {
    return Boxed(std::move(value), std::move(encoding));
  }

  const Value& value() const { return value_; }
  // The type's encoding: the method's for a result ("i", "@", "C"), the
  // kind's own for an argument made here ("q" for an integer).
  const std::string& encoding() const { return encoding_; }
  bool is_nothing() const { return std::holds_alternative<std::monostate>(value_); }
  // The value, when it is of this alternative.
  template <typename T>
  const T* get() const {
    return std::get_if<T>(&value_);
  }
  // A struct result as `T`, when the encodings and sizes agree.
  template <typename T>
  std::optional<T> as_struct() const {
    static_assert(std::is_trivially_copyable_v<T>);
    const Bytes* bytes = get<Bytes>();
    if (bytes == nullptr || bytes->data.size() != sizeof(T) ||
        !same_signature(encoding_, Encoding<T>::value())) {
      return std::nullopt;
    }
    T out;
    std::copy(bytes->data.begin(), bytes->data.end(), reinterpret_cast<unsigned char*>(&out));
    return out;
  }

 private:
  template <typename T>
  Boxed(T value, std::string encoding)
      : value_(std::in_place_type<T>, std::move(value)), encoding_(std::move(encoding)) {}
  Boxed(Value value, std::string encoding)
      : value_(std::move(value)), encoding_(std::move(encoding)) {}

  Value value_;
  std::string encoding_;
};

// What an invocation gives: the result, or why the call was not made.
struct InvocationResult {
  std::optional<Boxed> value;
  std::string error;
  explicit operator bool() const { return value.has_value(); }
};

// [receiver selector arguments...] with boxed arguments. Each argument is
// converted to the type the method takes, as Objective-C converts a literal:
// numbers between integer and floating kinds (a floating value truncates; one
// that the integer type cannot hold is an error, not undefined behaviour),
// YES/NO to any number, an NSNumber object to the scalar it holds, nil to any
// object, class or pointer; anything else that does not fit is an error. The
// result comes back boxed with the method's result encoding: integers widen
// to `long long` / `unsigned long long`, BOOL (unsigned char on this runtime)
// stays BOOL, a C string is copied, a null one comes back as a null pointer.
// A nil receiver answers the zero of the result type without a call, the type
// being the one encoding the selector's methods share (a nil object when they
// differ or there are none). An unknown selector raises NSInvalidArgumentException,
// as a send does; exceptions the method raises propagate. A wrong number of
// arguments, an argument that does not convert, or a method whose types
// cannot be passed here is an error result, and nothing is called.
InvocationResult invoke(id receiver, SEL selector, const std::vector<Boxed>& arguments);
InvocationResult invoke(Class receiver, SEL selector, const std::vector<Boxed>& arguments);

// A C function called as a method is invoked: `types` is its type encoding,
// the result's first, then each argument's ("Q^{CGImage=}" for a function
// taking an image and answering an unsigned long); `name` serves the errors.
InvocationResult invoke_function(const char* name, void (*function)(), const std::string& types,
                                 const std::vector<Boxed>& arguments);

}  // namespace objc
