#include "platform/foundation/key_value_coding.h"

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/exception.h"
#include "platform/objc/invocation.h"

namespace ns {
namespace {

std::string capitalized(std::string key) {
  if (!key.empty()) key[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(key[0])));
  return key;
}

std::string key_text(id self, SEL cmd, id key) {
  if (!is_string(key)) {
    objc::raise("NSInvalidArgumentException",
                objc::method_name(self, cmd) + ": key is not a string");
  }
  return utf8(key);
}

[[noreturn]] void raise_unknown_key(id self, const char* which, const std::string& key) {
  char address[32];
  std::snprintf(address, sizeof address, "%p", static_cast<void*>(self));
  objc::raise("NSUnknownKeyException",
              std::string("[<") + objc::class_name_of(self) + " " + address + "> " + which +
                  "]: this class is not key value coding-compliant for the key " + key + ".");
}

// The first of the candidate methods the receiver answers.
SEL first_method(id self, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    SEL sel = sel_registerName(name.c_str());
    if (objc::responds(self, sel)) return sel;
  }
  return nullptr;
}

Ivar first_ivar(id self, const std::string& key) {
  for (const std::string& name :
       {"_" + key, "_is" + capitalized(key), key, "is" + capitalized(key)}) {
    if (Ivar ivar = class_getInstanceVariable(object_getClass(self), name.c_str())) return ivar;
  }
  return nullptr;
}

const objc::ClassRef number_class{"NSNumber"};

// An object for a boxed result: objects as they are, numbers as NSNumbers.
id object_for(const objc::Boxed& boxed, id self, const std::string& key) {
  if (const id* v = boxed.get<id>()) return *v;
  if (const Class* v = boxed.get<Class>()) return reinterpret_cast<id>(*v);
  if (const auto* v = boxed.get<long long>())
    return msg<id>(number_class(), "numberWithLongLong:", *v);
  if (const auto* v = boxed.get<unsigned long long>()) {
    return msg<id>(number_class(), "numberWithUnsignedLongLong:", *v);
  }
  if (const auto* v = boxed.get<double>()) return msg<id>(number_class(), "numberWithDouble:", *v);
  if (const auto* v = boxed.get<float>()) return msg<id>(number_class(), "numberWithFloat:", *v);
  if (const auto* v = boxed.get<BOOL>()) return msg<id>(number_class(), "numberWithBool:", *v);
  objc::raise("NSInvalidArgumentException",
              std::string("valueForKey: cannot make an object of the ") + boxed.encoding() +
                  " value of " + objc::class_name_of(self) + "." + key);
}

template <typename T>
T& at(id self, Ivar ivar) {
  return *reinterpret_cast<T*>(reinterpret_cast<char*>(self) + ivar_getOffset(ivar));
}

id read_ivar(id self, Ivar ivar, const std::string& key) {
  using objc::Boxed;
  switch (ivar_getTypeEncoding(ivar)[0]) {
    case '@':
      return at<id>(self, ivar);
    case 'c':
      return object_for(Boxed::integer(at<signed char>(self, ivar)), self, key);
    case 'C':
      return object_for(Boxed::boolean(at<unsigned char>(self, ivar)), self, key);
    case 's':
      return object_for(Boxed::integer(at<short>(self, ivar)), self, key);
    case 'S':
      return object_for(Boxed::unsigned_integer(at<unsigned short>(self, ivar)), self, key);
    case 'i':
      return object_for(Boxed::integer(at<int>(self, ivar)), self, key);
    case 'I':
      return object_for(Boxed::unsigned_integer(at<unsigned int>(self, ivar)), self, key);
    case 'l':
      return object_for(Boxed::integer(at<long>(self, ivar)), self, key);
    case 'L':
      return object_for(Boxed::unsigned_integer(at<unsigned long>(self, ivar)), self, key);
    case 'q':
      return object_for(Boxed::integer(at<long long>(self, ivar)), self, key);
    case 'Q':
      return object_for(Boxed::unsigned_integer(at<unsigned long long>(self, ivar)), self, key);
    case 'f':
      return object_for(Boxed::single(at<float>(self, ivar)), self, key);
    case 'd':
      return object_for(Boxed::real(at<double>(self, ivar)), self, key);
    case 'B':
      return object_for(Boxed::boolean(at<bool>(self, ivar)), self, key);
    default:
      return object_for(Boxed::with_encoding({}, ivar_getTypeEncoding(ivar)), self, key);
  }
}

void write_ivar(id self, Ivar ivar, id value, const std::string& key) {
  const char type = ivar_getTypeEncoding(ivar)[0];
  if (type == '@') {
    // The member owns its object: the new one is retained before the old
    // one goes, so storing what it already holds is safe.
    id& slot = at<id>(self, ivar);
    objc::retain_object(value);
    objc::release_object(std::exchange(slot, value));
    return;
  }
  if (value == nil || !is_kind_of(value, number_class())) {
    objc::raise("NSInvalidArgumentException",
                std::string("[<") + objc::class_name_of(self) +
                    "> setNilValueForKey]: could not set nil as the value for the key " + key +
                    ".");
  }
  const double real = msg<double>(value, "doubleValue");
  const long long integer = msg<long long>(value, "longLongValue");
  switch (type) {
    case 'c':
      at<signed char>(self, ivar) = static_cast<signed char>(integer);
      return;
    case 'C':
      at<unsigned char>(self, ivar) = static_cast<unsigned char>(integer);
      return;
    case 's':
      at<short>(self, ivar) = static_cast<short>(integer);
      return;
    case 'S':
      at<unsigned short>(self, ivar) = static_cast<unsigned short>(integer);
      return;
    case 'i':
      at<int>(self, ivar) = static_cast<int>(integer);
      return;
    case 'I':
      at<unsigned int>(self, ivar) = static_cast<unsigned int>(integer);
      return;
    case 'l':
      at<long>(self, ivar) = static_cast<long>(integer);
      return;
    case 'L':
      at<unsigned long>(self, ivar) = static_cast<unsigned long>(integer);
      return;
    case 'q':
      at<long long>(self, ivar) = integer;
      return;
    case 'Q':
      at<unsigned long long>(self, ivar) = static_cast<unsigned long long>(integer);
      return;
    case 'f':
      at<float>(self, ivar) = static_cast<float>(real);
      return;
    case 'd':
      at<double>(self, ivar) = real;
      return;
    case 'B':
      at<bool>(self, ivar) = integer != 0;
      return;
    default:
      objc::raise("NSInvalidArgumentException", "setValue:forKey: cannot store an object in the " +
                                                    std::string(ivar_getTypeEncoding(ivar)) +
                                                    " member of " + objc::class_name_of(self) +
                                                    "." + key);
  }
}

id value_for_key(id self, SEL cmd, id key_object) {
  const std::string key = key_text(self, cmd, key_object);
  const std::string upper = capitalized(key);
  if (SEL getter = first_method(self, {"get" + upper, key, "is" + upper, "_" + key})) {
    objc::InvocationResult result = objc::invoke(self, getter, {});
    if (!result) objc::raise("NSInvalidArgumentException", result.error);
    return object_for(*result.value, self, key);
  }
  if (Ivar ivar = first_ivar(self, key)) return read_ivar(self, ivar, key);
  raise_unknown_key(self, "valueForUndefinedKey:", key);
}

void set_value_for_key(id self, SEL cmd, id value, id key_object) {
  const std::string key = key_text(self, cmd, key_object);
  const std::string upper = capitalized(key);
  if (SEL setter = first_method(self, {"set" + upper + ":", "_set" + upper + ":"})) {
    objc::InvocationResult result = objc::invoke(self, setter, {objc::Boxed::object(value)});
    if (!result) objc::raise("NSInvalidArgumentException", result.error);
    return;
  }
  if (Ivar ivar = first_ivar(self, key)) return write_ivar(self, ivar, value, key);
  raise_unknown_key(self, "setValue:forUndefinedKey:", key);
}

}  // namespace

void define_key_value_coding() {
  objc::ClassDefinition::extend(objc_getClass("NSObject"))
      .method("valueForKey:", value_for_key)
      .method("setValue:forKey:", set_value_for_key)
      .finish();
}

}  // namespace ns
