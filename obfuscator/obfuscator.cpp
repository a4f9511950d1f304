#include "obfuscator/obfuscator.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "obfuscator/masking.h"
#include "obfuscator/permutations.h"
#include "obfuscator/source_text.h"
#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_log.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_set.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"

namespace obfuscator {
namespace {

using objc::msg;
using objc::Ref;

const objc::Member<Ref> kSalt{"Obfuscator", "_salt"};

// Atomic property accessors take one of a few striped locks chosen by the
// member's address, as the runtime's own accessors do.
std::mutex& property_lock(const void* member) {
  static std::array<std::mutex, 8> locks;
  return locks[(reinterpret_cast<std::uintptr_t>(member) >> 4) % locks.size()];
}

// The process-wide salt store. It is not locked: its three operations must be
// called from one thread at a time.
SaltStore& salt_store() {
  static SaltStore store;
  return store;
}

std::string name_of(Class cls) { return cls != Nil ? class_getName(cls) : ""; }

bool is_class_object(id object) {
  return object != nil && class_isMetaClass(object_getClass(object));
}

// The names of a collection's classes joined in order, the list ending at the
// first element that is not a class (NSNull stands for the nil that ends a
// C list). A collection is an NSArray or an NSSet, walked in its enumeration
// order; anything else holds no classes.
std::string joined_class_names(id collection) {
  std::string text;
  const auto elements =
      ns::is_set(collection) ? ns::set_items(collection) : ns::array_items(collection);
  for (id element : elements) {
    if (!is_class_object(element)) break;
    text += class_getName(reinterpret_cast<Class>(element));
  }
  return text;
}

// --- the key ---

id salt(id self, SEL) {
  Ref key;
  {
    std::lock_guard lock(property_lock(&kSalt.of(self)));
    key = kSalt.of(self);
  }
  return ns::autorelease(key.leak());
}

void set_salt(id self, SEL, id key) {
  Ref next = Ref::retain(key);
  {
    std::lock_guard lock(property_lock(&kSalt.of(self)));
    std::swap(kSalt.of(self), next);
  }
}

id hash_salt_using_sha1(id, SEL, id text) { return ns::string(sha1_hex(ns::utf8(text))); }

// --- constructors and the salt store ---

id new_with_salt_unsafe(id self, SEL, id salt_text) {
  id object = msg<id>(self, "new");
  msg<void>(object, "setSalt:", msg<id>(self, "hashSaltUsingSHA1:", salt_text));
  return object;
}

id new_with_salt_text(id self, const std::string& salt_text) {
  ns::AutoreleasePool pool;
  return msg<id>(self, "newWithSaltUnsafe:", ns::string(salt_text));
}

id new_with_salt_class(id self, SEL, Class first) {
  return new_with_salt_text(self, name_of(first));
}

void store_salt(id name, std::string salt_text) {
  if (!ns::is_string(name)) return;
  salt_store().store(ns::characters(name), std::move(salt_text));
}

void store_key_for_salt_class(id, SEL, id name, Class first) { store_salt(name, name_of(first)); }

id new_with_salt_classes(id self, SEL, id classes) {
  return new_with_salt_text(self, joined_class_names(classes));
}

void store_key_for_salt_classes(id, SEL, id name, id classes) {
  store_salt(name, joined_class_names(classes));
}

std::optional<std::string> stored_salt(id name) {
  if (!ns::is_string(name)) return std::nullopt;
  return salt_store().find(ns::characters(name));
}

id new_using_stored_salt(id self, SEL, id name) {
  auto salt_text = stored_salt(name);
  return salt_text ? new_with_salt_text(self, *salt_text) : nil;
}

id reveal_using_stored_salt(id self, SEL, const char* masked, id name) {
  auto salt_text = stored_salt(name);
  if (!salt_text) return nil;
  Ref object = Ref::adopt(new_with_salt_text(self, *salt_text));
  return msg<id>(object, "reveal:", masked);
}

// --- revealing and the C-string conversions ---

id reveal_masked(id self, SEL, const char* masked) {
  id key = msg<id>(self, "salt");
  // The key cycles over as many of its UTF-8 bytes as it has characters: all
  // 40 of a derived key.
  const std::string key_bytes =
      ns::utf8(key).substr(0, ns::is_string(key) ? ns::characters(key).size() : 0);
  auto text = obfuscator::reveal(masked, key_bytes);
  return text ? ns::string(*text) : nil;
}

id c_string_to_ns_string(id, SEL, const char* bytes) { return ns::string(latin1_text(bytes)); }

char* convert_ns_string_to_c_string(id, SEL, id text) {
  return c_string_from_code_units(ns::characters(text));
}

id hex_by_obfuscating_string_silence(id, SEL, id, BOOL) { return nil; }

id hex_by_obfuscating_string(id self, SEL, id text) {
  return msg<id>(self, "hexByObfuscatingString:silence:", text, NO);
}

// --- the generator side ---

BOOL generate_code_with_salt(id, SEL, id, id) { return YES; }

BOOL generate_code_with_salt_unsafe_into(id, SEL, id, id, BOOL, id*, id*) { return YES; }

// The text form of any object, as "%@" writes it; empty for nil.
std::string text_form(id object) {
  if (object == nil) return "";
  return ns::utf8(msg<id>(object, "description"));
}

id print_hex_with_key(id, SEL, id text, id name) {
  std::optional<std::string> given_name;
  if (name != nil) given_name = text_form(name);
  return ns::string(array_line(ns::characters(text), given_name));
}

id print_hex(id self, SEL, id text) { return msg<id>(self, "printHex:WithKey:", text, nil); }

// An entry's value for `key`, nil for a missing entry or an element that is
// not a dictionary.
id entry_value(id entry, const char* key) {
  return ns::is_dictionary(entry) ? msg<id>(entry, "objectForKey:", ns::string(key)) : nil;
}

// A value to write as an array's bytes: a text's own code units, another
// object's text form; absent writes as the empty text.
std::u16string code_units_of(id value) {
  if (value == nil) return {};
  return ns::characters(ns::is_string(value) ? value : msg<id>(value, "description"));
}

void log_code(id, SEL, id successful, id unsuccessful) {
  ns::AutoreleasePool pool;
  std::vector<std::string> texts;
  for (id text : ns::array_items(unsuccessful)) texts.push_back(text_form(text));
  if (auto record = unsuccessful_record(texts)) NSLog(NSSTR("%@"), ns::string(*record));

  std::vector<GeneratedEntry> entries;
  for (id entry : ns::array_items(successful)) {
    id name = entry_value(entry, "key");
    entries.push_back({name != nil ? std::optional(text_form(name)) : std::nullopt,
                       text_form(entry_value(entry, "original")),
                       code_units_of(entry_value(entry, "obfuscated"))});
  }
  if (auto record = source_record(entries)) NSLog(NSSTR("%@"), ns::string(*record));
}

id string_from_classes(id, SEL, id classes) { return ns::string(joined_class_names(classes)); }

id all_permutations_of_array(id, SEL, id array) {
  const auto arrangements = all_permutations(ns::array_items(array), [](id present, id item) {
    return msg<BOOL>(present, "isEqual:", item) != NO;
  });
  std::vector<id> lists;
  lists.reserve(arrangements.size());
  for (const auto& arrangement : arrangements) lists.push_back(ns::array(arrangement));
  return ns::array(lists);
}

Class define_class() {
  return objc::ClassDefinition("Obfuscator", objc_getClass("NSObject"))
      .member<Ref>("_salt")
      .method("salt", salt)
      .method("setSalt:", set_salt)
      .method("reveal:", reveal_masked)
      .method("CStringToNSString:", c_string_to_ns_string)
      .method("convertNSStringtoCString:", convert_ns_string_to_c_string)
      .method("hexByObfuscatingString:", hex_by_obfuscating_string)
      .method("hexByObfuscatingString:silence:", hex_by_obfuscating_string_silence)
      .class_method("hashSaltUsingSHA1:", hash_salt_using_sha1)
      .class_method("newWithSaltUnsafe:", new_with_salt_unsafe)
      .class_method("newWithSalt:", new_with_salt_class)
      .class_method("storeKey:forSalt:", store_key_for_salt_class)
      .class_method("newWithSaltClasses:", new_with_salt_classes)
      .class_method("storeKey:forSaltClasses:", store_key_for_salt_classes)
      .class_method("newUsingStoredSalt:", new_using_stored_salt)
      .class_method("reveal:UsingStoredSalt:", reveal_using_stored_salt)
      .class_method("generateCodeWithSalt:WithStrings:", generate_code_with_salt)
      .class_method("generateCodeWithSaltUnsafe:WithStrings:", generate_code_with_salt)
      .class_method("generateCodeWithSaltUnsafe:WithStrings:silence:successfulP:unsuccessfulP:",
                    generate_code_with_salt_unsafe_into)
      .class_method("printHex:", print_hex)
      .class_method("printHex:WithKey:", print_hex_with_key)
      .class_method("logCodeWithSuccessful:unsuccessful:", log_code)
      .class_method("stringFromClasses:", string_from_classes)
      .class_method("allPermutationsOfArray:", all_permutations_of_array)
      .finish();
}

}  // namespace

void register_obfuscator_class() { [[maybe_unused]] static const Class cls = define_class(); }

namespace {

// The classes of a C++ class list up to its first Nil, as an NSArray.
id class_array(std::initializer_list<Class> classes) {
  std::vector<id> items;
  for (Class cls : classes) {
    if (cls == Nil) break;
    items.push_back(reinterpret_cast<id>(cls));
  }
  return ns::array(items);
}

Class obfuscator_class() {
  register_obfuscator_class();
  return objc_getClass("Obfuscator");
}

}  // namespace

id new_with_salt(std::initializer_list<Class> classes) {
  ns::AutoreleasePool pool;
  return msg<id>(obfuscator_class(), "newWithSaltClasses:", class_array(classes));
}

void store_key_for_salt(id name, std::initializer_list<Class> classes) {
  ns::AutoreleasePool pool;
  msg<void>(obfuscator_class(), "storeKey:forSaltClasses:", name, class_array(classes));
}

}  // namespace obfuscator
