#include "platform/foundation/key_value_coding.h"

#include <cctype>
#include <cstdlib>
#include <string>

#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"

namespace ns {
namespace {

using objc::msg;

// The object member for the key, or null.
id* object_member(id object, const std::string& key) {
  for (const std::string& name : {"_" + key, key}) {
    Ivar ivar = class_getInstanceVariable(object_getClass(object), name.c_str());
    if (ivar == nullptr) continue;
    const char* type = ivar_getTypeEncoding(ivar);
    if (type == nullptr || type[0] != '@') return nullptr;
    return reinterpret_cast<id*>(reinterpret_cast<char*>(object) + ivar_getOffset(ivar));
  }
  return nullptr;
}

// Whether the object answers the selector with a method whose result (index
// -1) or argument (from 0) at `index` is an object.
bool answers_with_object(id object, SEL selector, int index) {
  if (!objc::responds(object, selector)) return false;
  Method method = class_getInstanceMethod(object_getClass(object), selector);
  char* type = index < 0 ? method_copyReturnType(method)
                         : method_copyArgumentType(method, static_cast<unsigned>(index) + 2);
  const bool object_type = type != nullptr && type[0] == '@';
  std::free(type);
  return object_type;
}

[[noreturn]] void unknown_key(id self, const char* method, const std::string& key) {
  objc::raise("NSUnknownKeyException",
              "[<" + std::string(objc::class_name_of(self)) + "> " + method +
                  "]: this class is not key value coding-compliant for the key " + key + ".");
}

id value_for_key(id self, SEL, id key) {
  const std::string name = utf8(key);
  if (!name.empty()) {
    SEL getter = sel_registerName(name.c_str());
    if (answers_with_object(self, getter, -1)) return msg<id>(self, getter);
    if (id* member = object_member(self, name)) return *member;
  }
  unknown_key(self, "valueForUndefinedKey:", name);
}

void set_value_for_key(id self, SEL, id value, id key) {
  const std::string name = utf8(key);
  if (!name.empty()) {
    std::string setter = "set" + name + ":";
    setter[3] = static_cast<char>(std::toupper(static_cast<unsigned char>(setter[3])));
    SEL selector = sel_registerName(setter.c_str());
    if (answers_with_object(self, selector, 0)) {
      msg<void>(self, selector, value);
      return;
    }
    if (id* member = object_member(self, name)) {
      id previous = *member;
      *member = msg<id>(value, "retain");
      msg<void>(previous, "release");
      return;
    }
  }
  unknown_key(self, "setValue:forUndefinedKey:", name);
}

}  // namespace

void define_key_value_coding() {
  objc::ClassDefinition::extend(objc_getClass("NSObject"))
      .method("valueForKey:", value_for_key)
      .method("setValue:forKey:", set_value_for_key);
}

}  // namespace ns
