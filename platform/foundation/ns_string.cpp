#include "platform/foundation/ns_string.h"

#include <functional>
#include <string>

#include "platform/foundation/ns_object.h"
#include "platform/foundation/unicode.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/exception.h"

namespace ns {
namespace {

const objc::Member<std::u16string> kCharacters{"NSString", "_characters"};
// The UTF-8 form handed out by UTF8String, made on demand and kept while the
// text is unchanged, so the pointer stays valid as long as the text does.
const objc::Member<std::string> kUtf8{"NSString", "_utf8"};

const objc::ClassRef string_class{"NSString"};

id make(Class cls, std::u16string text) {
  id object = allocate_instance(cls);
  kCharacters.of(object) = std::move(text);
  return object;
}

id string_with_utf8(id self, SEL, const char* text) {
  if (text == nullptr) return nil;
  return autorelease(make(reinterpret_cast<Class>(self), utf16_from_utf8(text)));
}
id string_empty(id self, SEL) { return autorelease(make(reinterpret_cast<Class>(self), {})); }
id string_with_string(id self, SEL, id other) {
  return autorelease(make(reinterpret_cast<Class>(self), characters(other)));
}
id init_with_utf8(id self, SEL, const char* text) {
  if (text == nullptr) {
    msg<void>(self, "release");
    return nil;
  }
  kCharacters.of(self) = utf16_from_utf8(text);
  return self;
}
id init_with_string(id self, SEL, id other) {
  kCharacters.of(self) = characters(other);
  return self;
}
const char* utf8_string(id self, SEL) {
  auto& cached = kUtf8.of(self);
  cached = utf8_from_utf16(kCharacters.of(self));
  return cached.c_str();
}
unsigned long length(id self, SEL) { return kCharacters.of(self).size(); }
unsigned short character_at(id self, SEL, unsigned long index) {
  const auto& text = kCharacters.of(self);
  if (index >= text.size()) {
    objc::raise("NSRangeException", "-[NSString characterAtIndex:]: Range or index out of bounds");
  }
  return text[index];
}
BOOL is_equal_to_string(id self, SEL, id other) {
  return is_string(other) && kCharacters.of(self) == kCharacters.of(other);
}
BOOL is_equal(id self, SEL, id other) {
  return self == other || is_equal_to_string(self, nullptr, other);
}
unsigned long hash(id self, SEL) { return std::hash<std::u16string>{}(kCharacters.of(self)); }
id description(id self, SEL) { return self; }
id copy_with_zone(id self, SEL, void*) {
  if (object_getClass(self) == string_class()) return objc::Ref::retain(self).leak();
  return make(string_class(), kCharacters.of(self));
}
id mutable_copy_with_zone(id self, SEL, void*) {
  return make(objc_getClass("NSMutableString"), kCharacters.of(self));
}
BOOL has_prefix(id self, SEL, id prefix) {
  return is_string(prefix) && kCharacters.of(self).starts_with(kCharacters.of(prefix));
}
BOOL has_suffix(id self, SEL, id suffix) {
  return is_string(suffix) && kCharacters.of(self).ends_with(kCharacters.of(suffix));
}
BOOL contains_string(id self, SEL, id other) {
  return is_string(other) &&
         kCharacters.of(self).find(kCharacters.of(other)) != std::u16string::npos;
}

void append_string(id self, SEL, id other) { kCharacters.of(self) += characters(other); }
void set_string(id self, SEL, id other) { kCharacters.of(self) = characters(other); }

}  // namespace

void define_string_classes() {
  objc::ClassDefinition("NSString", objc_getClass("NSObject"))
      .member<std::u16string>("_characters")
      .member<std::string>("_utf8")
      .class_method("stringWithUTF8String:", string_with_utf8)
      .class_method("string", string_empty)
      .class_method("stringWithString:", string_with_string)
      .method("initWithUTF8String:", init_with_utf8)
      .method("initWithString:", init_with_string)
      .method("UTF8String", utf8_string)
      .method("length", length)
      .method("characterAtIndex:", character_at)
      .method("isEqualToString:", is_equal_to_string)
      .method("isEqual:", is_equal)
      .method("hash", hash)
      .method("description", description)
      .method("copyWithZone:", copy_with_zone)
      .method("mutableCopyWithZone:", mutable_copy_with_zone)
      .method("hasPrefix:", has_prefix)
      .method("hasSuffix:", has_suffix)
      .method("containsString:", contains_string)
      .finish();
  objc::ClassDefinition("NSMutableString", string_class())
      .method("appendString:", append_string)
      .method("setString:", set_string)
      .finish();
}

id string(std::string_view utf8) {
  return autorelease(make(string_class(), utf16_from_utf8(utf8)));
}
id string(std::u16string_view utf16) {
  return autorelease(make(string_class(), std::u16string(utf16)));
}
id constant_string(const char* utf8) { return make(string_class(), utf16_from_utf8(utf8)); }

std::string utf8(id text) { return is_string(text) ? utf8_from_utf16(kCharacters.of(text)) : ""; }

const std::u16string& characters(id text) {
  static const std::u16string empty;
  return is_string(text) ? kCharacters.of(text) : empty;
}

bool is_string(id object) { return objc::is_kind_of(object, string_class()); }

bool string_equals(id text, std::u16string_view other) {
  return is_string(text) && kCharacters.of(text) == other;
}

id new_string(Class cls, std::u16string text) { return make(cls, std::move(text)); }

std::u16string& mutable_characters(id text) { return kCharacters.of(text); }

}  // namespace ns

id NSStringFromClass(Class cls) { return cls == Nil ? nil : ns::string(class_getName(cls)); }

Class NSClassFromString(id name) {
  return ns::is_string(name) ? objc_getClass(ns::utf8(name).c_str()) : Nil;
}

id NSStringFromSelector(SEL selector) {
  return selector == nullptr ? nil : ns::string(sel_getName(selector));
}

SEL NSSelectorFromString(id name) {
  return ns::is_string(name) ? sel_registerName(ns::utf8(name).c_str()) : nullptr;
}
