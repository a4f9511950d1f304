#include "platform/objc/invocation.h"

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <utility>

#include "platform/objc/ffi_types.h"
#include "platform/objc/message.h"

namespace objc {
namespace {

// How an error message names the type an argument is taken as.
std::string type_name(const std::string& encoding) {
  static const std::pair<char, const char*> kNames[] = {
      {'c', "char"},        {'C', "unsigned char (BOOL)"},
      {'s', "short"},       {'S', "unsigned short"},
      {'i', "int"},         {'I', "unsigned int"},
      {'l', "long"},        {'L', "unsigned long"},
      {'q', "long long"},   {'Q', "unsigned long long"},
      {'f', "float"},       {'d', "double"},
      {'D', "long double"}, {'B', "bool"},
      {'@', "an object"},   {'#', "a class"},
      {':', "a selector"},  {'*', "a C string"},
      {'%', "a C string"},  {'^', "a pointer"},
  };
  if (encoding.starts_with('{')) {
    return "struct " + encoding.substr(1, encoding.find_first_of("=}") - 1);
  }
  for (const auto& [code, name] : kNames) {
    if (!encoding.empty() && encoding[0] == code) return name;
  }
  return encoding;
}

std::string describe(const Boxed& box) {
  static const char* const kKinds[] = {
      "nothing",  "an object", "a class", "a selector", "an integer", "an unsigned integer",
      "a double", "a float",   "a BOOL",  "a C string", "a pointer"};
  const std::size_t index = box.value().index();
  if (index < std::size(kKinds)) return kKinds[index];
  return "a struct " + box.encoding();
}

// A number on its way to a scalar argument, in the widest type of its kind.
struct Number {
  enum class Kind { kSignedInteger, kUnsignedInteger, kReal } kind;
  long long integer = 0;
  unsigned long long unsigned_integer = 0;
  double real = 0;
};

std::optional<Number> number_from(const Boxed& box, char target);

// What an NSNumber holds, asked for in the form the target type wants: a
// BOOL takes its truth, an unsigned 64-bit type all of its bits, a floating
// type its double value, any other integer its long long value.
std::optional<Number> unbox_number(id number, char target) {
  std::vector<const char*> getters{"longLongValue"};
  if (target == 'f' || target == 'd' || target == 'D') getters = {"doubleValue"};
  if (target == 'B' || target == 'C') getters = {"boolValue"};
  if (target == 'L' || target == 'Q') getters = {"unsignedLongLongValue", "unsignedIntegerValue"};
  for (const char* getter : getters) {
    if (!class_respondsToSelector(object_getClass(number), sel(getter))) continue;
    InvocationResult held = invoke(number, sel(getter), {});
    if (!held || std::holds_alternative<id>(held.value->value())) return std::nullopt;
    return number_from(*held.value, target);
  }
  return std::nullopt;
}

std::optional<Number> number_from(const Boxed& box, char target) {
  using Kind = Number::Kind;
  if (const auto* v = box.get<long long>()) return Number{Kind::kSignedInteger, *v};
  if (const auto* v = box.get<unsigned long long>()) return Number{Kind::kUnsignedInteger, 0, *v};
  if (const auto* v = box.get<BOOL>()) return Number{Kind::kUnsignedInteger, 0, *v};
  if (const auto* v = box.get<double>()) return Number{Kind::kReal, 0, 0, *v};
  if (const auto* v = box.get<float>()) return Number{Kind::kReal, 0, 0, *v};
  if (const auto* v = box.get<id>()) {
    Class number_class = objc_getClass("NSNumber");
    if (*v != nil && number_class != Nil && is_kind_of(*v, number_class)) {
      return unbox_number(*v, target);
    }
  }
  return std::nullopt;
}

template <typename T>
bool store(const T& value, void* out) {
  std::memcpy(out, &value, sizeof value);
  return true;
}

// C's conversion to an integer type: integers wrap, a floating value
// truncates; one the type cannot hold would be undefined, so it is refused.
template <typename T>
bool store_integer(const Number& number, void* out) {
  switch (number.kind) {
    case Number::Kind::kSignedInteger:
      return store(static_cast<T>(number.integer), out);
    case Number::Kind::kUnsignedInteger:
      return store(static_cast<T>(number.unsigned_integer), out);
    case Number::Kind::kReal:
      if constexpr (std::is_same_v<T, bool>) {
        return store(number.real != 0, out);
      } else {
        if (!std::isfinite(number.real)) return false;
        const double whole = std::trunc(number.real);
        const double lowest = static_cast<double>(std::numeric_limits<T>::min());
        const double beyond = static_cast<double>(std::numeric_limits<T>::max()) + 1.0;
        if (whole < lowest || whole >= beyond) return false;
        return store(static_cast<T>(whole), out);
      }
  }
  return false;
}

template <typename T>
bool store_real(const Number& number, void* out) {
  switch (number.kind) {
    case Number::Kind::kSignedInteger:
      return store(static_cast<T>(number.integer), out);
    case Number::Kind::kUnsignedInteger:
      return store(static_cast<T>(number.unsigned_integer), out);
    case Number::Kind::kReal:
      if constexpr (std::is_same_v<T, float>) {
        if (std::isfinite(number.real) && std::fabs(number.real) > FLT_MAX) return false;
      }
      return store(static_cast<T>(number.real), out);
  }
  return false;
}

bool store_scalar(char code, const Number& number, void* out) {
  switch (code) {
    case 'c':
      return store_integer<signed char>(number, out);
    case 'C':
      return store_integer<unsigned char>(number, out);
    case 's':
      return store_integer<short>(number, out);
    case 'S':
      return store_integer<unsigned short>(number, out);
    case 'i':
      return store_integer<int>(number, out);
    case 'I':
      return store_integer<unsigned int>(number, out);
    case 'l':
      return store_integer<long>(number, out);
    case 'L':
      return store_integer<unsigned long>(number, out);
    case 'q':
      return store_integer<long long>(number, out);
    case 'Q':
      return store_integer<unsigned long long>(number, out);
    case 'B':
      return store_integer<bool>(number, out);
    case 'f':
      return store_real<float>(number, out);
    case 'd':
      return store_real<double>(number, out);
    case 'D':
      return store_real<long double>(number, out);
    default:
      return false;
  }
}

bool is_nil_object(const Boxed& box) {
  const auto* object = box.get<id>();
  return object != nullptr && *object == nil;
}

// Writes `box` as the type `target` into `out` (sized and aligned for it);
// false when it does not convert.
bool convert(const Boxed& box, const FfiType& target, void* out) {
  const char code = target.encoding[0];
  switch (code) {
    case '@':
      if (const auto* object = box.get<id>()) return store(*object, out);
      if (const auto* cls = box.get<Class>()) return store(reinterpret_cast<id>(*cls), out);
      return false;
    case '#':
      if (const auto* cls = box.get<Class>()) return store(*cls, out);
      if (const auto* object = box.get<id>()) {
        if (*object == nil || class_isMetaClass(object_getClass(*object))) {
          return store(reinterpret_cast<Class>(*object), out);
        }
      }
      return false;
    case ':':
      if (const auto* selector = box.get<SEL>()) return store(*selector, out);
      return false;
    case '*':
    case '%':
      if (const auto* text = box.get<std::string>()) {
        // The method takes a char * and may not write through it; the text
        // outlives the call.
        return store(const_cast<char*>(text->c_str()), out);
      }
      [[fallthrough]];
    case '^':
      if (const auto* pointer = box.get<void*>()) return store(*pointer, out);
      if (is_nil_object(box)) return store(static_cast<void*>(nullptr), out);
      return false;
    case '{': {
      const auto* bytes = box.get<Boxed::Bytes>();
      const FfiType* given = ffi_type_of(box.encoding());
      if (bytes == nullptr || given == nullptr || given->encoding != target.encoding ||
          bytes->data.size() != target.size) {
        return false;
      }
      std::memcpy(out, bytes->data.data(), target.size);
      return true;
    }
    default: {
      std::optional<Number> number = number_from(box, code);
      return number.has_value() && store_scalar(code, *number, out);
    }
  }
}

template <typename T>
T load(const void* from) {
  // libffi widens integer results narrower than a register to ffi_arg.
  if constexpr (std::is_integral_v<T> && sizeof(T) < sizeof(ffi_arg)) {
    ffi_arg raw;
    std::memcpy(&raw, from, sizeof raw);
    return static_cast<T>(raw);
  } else {
    T value;
    std::memcpy(&value, from, sizeof value);
    return value;
  }
}

Boxed box_result(const FfiType& type, const void* from) {
  const std::string& encoding = type.encoding;
  auto boxed = [&](Boxed::Value value) { return Boxed::with_encoding(std::move(value), encoding); };
  switch (encoding[0]) {
    case 'v':
      return Boxed();
    case '@':
      return boxed(load<id>(from));
    case '#':
      return boxed(load<Class>(from));
    case ':':
      return boxed(load<SEL>(from));
    case 'c':
      return boxed(static_cast<long long>(load<signed char>(from)));
    case 's':
      return boxed(static_cast<long long>(load<short>(from)));
    case 'i':
      return boxed(static_cast<long long>(load<int>(from)));
    case 'l':
      return boxed(static_cast<long long>(load<long>(from)));
    case 'q':
      return boxed(load<long long>(from));
    case 'C':
      return boxed(load<BOOL>(from));
    case 'B':
      return boxed(static_cast<BOOL>(load<bool>(from) ? YES : NO));
    case 'S':
      return boxed(static_cast<unsigned long long>(load<unsigned short>(from)));
    case 'I':
      return boxed(static_cast<unsigned long long>(load<unsigned int>(from)));
    case 'L':
      return boxed(static_cast<unsigned long long>(load<unsigned long>(from)));
    case 'Q':
      return boxed(load<unsigned long long>(from));
    case 'f':
      return boxed(load<float>(from));
    case 'd':
      return boxed(load<double>(from));
    case 'D':
      return boxed(static_cast<double>(load<long double>(from)));
    case '*':
    case '%':
      if (const char* text = load<const char*>(from)) return boxed(std::string(text));
      return boxed(static_cast<void*>(nullptr));
    case '{': {
      const auto* bytes = static_cast<const unsigned char*>(from);
      return boxed(Boxed::Bytes{{bytes, bytes + type.size}});
    }
    default:
      return boxed(load<void*>(from));
  }
}

// Storage for the values of one call, each at its type's alignment (no type
// an encoding describes is aligned beyond std::max_align_t).
class Frame {
 public:
  explicit Frame(const FfiSignature& signature) {
    std::size_t offset = 0;
    auto place = [&](const FfiType& type) {
      const std::size_t size = std::max(type.size, sizeof(ffi_arg));
      offset = (offset + type.alignment - 1) / type.alignment * type.alignment;
      offsets_.push_back(offset);
      offset += size;
    };
    place(signature.result);
    for (const FfiType& argument : signature.arguments) place(argument);
    words_.resize(offset / sizeof(std::max_align_t) + 1);
    // Zeroed byte by byte: a value-initialised max_align_t may still copy
    // in without its long double's padding, and a nil receiver's answer is
    // read straight from these bytes.
    std::memset(words_.data(), 0, words_.size() * sizeof(std::max_align_t));
    for (std::size_t at : offsets_) {
      pointers_.push_back(reinterpret_cast<char*>(words_.data()) + at);
    }
  }
  void* result() { return pointers_[0]; }
  void* argument(std::size_t index) { return pointers_[index + 1]; }
  void** arguments() { return pointers_.data() + 1; }

 private:
  std::vector<std::max_align_t> words_;
  std::vector<std::size_t> offsets_;
  std::vector<void*> pointers_;
};

// A message to nil answers the zero of its result type, as the runtime's own
// send does. Without a receiver the type comes from the selector: the one
// encoding its methods share; a selector whose methods differ, or that no
// method has, answers a nil object.
Boxed answer_to_nil(SEL selector) {
  const SEL typed = selector != nullptr ? sel_getTypedSelector(sel_getName(selector)) : nullptr;
  const char* types = typed != nullptr ? sel_getTypeEncoding(typed) : nullptr;
  const FfiSignature* signature = types != nullptr ? ffi_signature(types) : nullptr;
  if (signature == nullptr) return Boxed::object(nil);
  Frame frame(*signature);
  return box_result(signature->result, frame.result());
}

}  // namespace

InvocationResult invoke(id receiver, SEL selector, const std::vector<Boxed>& arguments) {
  if (receiver == nil) return {answer_to_nil(selector), {}};
  if (selector == nullptr) return {std::nullopt, "no selector to send"};
  Method method = class_getInstanceMethod(object_getClass(receiver), selector);
  if (method == nullptr) detail::raise_unrecognized_selector(receiver, selector);
  const char* types = method_getTypeEncoding(method);
  const FfiSignature* signature = ffi_signature(types != nullptr ? types : "");
  if (signature == nullptr || signature->arguments.size() < 2) {
    return {std::nullopt, "cannot call " + method_name(receiver, selector) + ": its types \"" +
                              (types != nullptr ? types : "") + "\" cannot be passed here"};
  }
  const std::size_t expected = signature->arguments.size() - 2;
  if (arguments.size() != expected) {
    return {std::nullopt, method_name(receiver, selector) + " takes " + std::to_string(expected) +
                              (expected == 1 ? " argument, given " : " arguments, given ") +
                              std::to_string(arguments.size())};
  }

  Frame frame(*signature);
  store(receiver, frame.argument(0));
  store(selector, frame.argument(1));
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const FfiType& type = signature->arguments[i + 2];
    if (!convert(arguments[i], type, frame.argument(i + 2))) {
      return {std::nullopt, "argument " + std::to_string(i + 1) + " of " +
                                method_name(receiver, selector) + ": cannot pass " +
                                describe(arguments[i]) + " as " + type_name(type.encoding)};
    }
  }
  IMP imp = objc_msg_lookup(receiver, selector);
  // libffi only reads the call description, which every call of this
  // encoding shares.
  ffi_call(const_cast<ffi_cif*>(&signature->cif), from_imp<void()>(imp), frame.result(),
           frame.arguments());
  return {box_result(signature->result, frame.result()), {}};
}

InvocationResult invoke(Class receiver, SEL selector, const std::vector<Boxed>& arguments) {
  return invoke(reinterpret_cast<id>(receiver), selector, arguments);
}

InvocationResult invoke_function(const char* name, void (*function)(), const std::string& types,
                                 const std::vector<Boxed>& arguments) {
  const FfiSignature* signature = ffi_signature(types);
  if (signature == nullptr) {
    return {std::nullopt, std::string("cannot call ") + name + ": its types \"" + types +
                              "\" cannot be passed here"};
  }
  const std::size_t expected = signature->arguments.size();
  if (arguments.size() != expected) {
    return {std::nullopt, std::string(name) + " takes " + std::to_string(expected) +
                              (expected == 1 ? " argument, given " : " arguments, given ") +
                              std::to_string(arguments.size())};
  }
  Frame frame(*signature);
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const FfiType& type = signature->arguments[i];
    if (!convert(arguments[i], type, frame.argument(i))) {
      return {std::nullopt, "argument " + std::to_string(i + 1) + " of " + name + ": cannot pass " +
                                describe(arguments[i]) + " as " + type_name(type.encoding)};
    }
  }
  ffi_call(const_cast<ffi_cif*>(&signature->cif), function, frame.result(), frame.arguments());
  return {box_result(signature->result, frame.result()), {}};
}

}  // namespace objc
