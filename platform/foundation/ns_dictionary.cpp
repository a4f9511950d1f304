#include "platform/foundation/ns_dictionary.h"

#include <string>
#include <utility>

#include "platform/foundation/description.h"
#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/ordered_store.h"
#include "platform/foundation/property_list.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/exception.h"

namespace ns {
namespace {

struct Entry {
  Ref key;
  unsigned long hash;
  Ref value;
};

class Storage {
 public:
  std::size_t size() const { return store_.size(); }
  const std::vector<Entry>& entries() const { return store_.entries(); }

  id get(id key) const {
    std::size_t at = store_.find(key);
    return at == store_.size() ? nil : store_.entries()[at].value.get();
  }

  // Stores `value` under `key`: an existing equal key keeps its place and
  // its key object; a new key is copied. Nothing changes if copy or hash raise.
  void set(id key, id value) {
    std::size_t at = store_.find(key);
    if (at != store_.size()) {
      Ref previous = std::exchange(store_.entry(at).value, Ref::retain(value));
      return;
    }
    Ref copied = Ref::adopt(msg<id>(key, "copy"));
    unsigned long hash = msg<unsigned long>(copied.get(), "hash");
    store_.append({std::move(copied), hash, Ref::retain(value)});
  }

  void remove(id key) {
    std::size_t at = store_.find(key);
    if (at != store_.size()) store_.erase(at);
  }

  void clear() { store_.clear(); }

 private:
  OrderedStore<Entry> store_;
};

const objc::Member<Storage> kStorage{"NSDictionary", "_storage"};

const objc::ClassRef dictionary_class{"NSDictionary"};
const objc::ClassRef mutable_dictionary_class{"NSMutableDictionary"};

// How the exceptions name the call: "*** -[NSMutableDictionary setObject:forKey:]".
std::string exception_prefix(id self, SEL cmd) { return "*** " + objc::method_name(self, cmd); }

void store(id self, SEL cmd, id key, id value) {
  if (key == nil)
    objc::raise("NSInvalidArgumentException", exception_prefix(self, cmd) + ": key cannot be nil");
  if (value == nil) {
    objc::raise("NSInvalidArgumentException",
                exception_prefix(self, cmd) +
                    ": object cannot be nil (key: " + utf8(msg<id>(key, "description")) + ")");
  }
  kStorage.of(self).set(key, value);
}

void fill_from_arrays(id self, SEL cmd, const id* objects, const id* keys, unsigned long count) {
  for (unsigned long i = 0; i < count; ++i) {
    if (objects[i] == nil || keys[i] == nil) {
      objc::raise("NSInvalidArgumentException",
                  exception_prefix(self, cmd) + ": attempt to insert nil " +
                      (objects[i] == nil ? "object from objects[" : "key from keys[") +
                      std::to_string(i) + "]");
    }
  }
  for (unsigned long i = 0; i < count; ++i) kStorage.of(self).set(keys[i], objects[i]);
}

void fill_from_dictionary(id self, id other) {
  if (!is_dictionary(other) || other == self) return;
  for (const auto& entry : kStorage.of(other).entries()) {
    kStorage.of(self).set(entry.key.get(), entry.value.get());
  }
}

Class as_class(id self) { return reinterpret_cast<Class>(self); }
id fresh(id self) { return allocate_instance(as_class(self)); }

id dictionary_empty(id self, SEL) { return autorelease(fresh(self)); }
id dictionary_with_object(id self, SEL cmd, id object, id key) {
  id made = fresh(self);
  Ref owner = Ref::adopt(made);
  store(made, cmd, key, object);
  return autorelease(owner.leak());
}
id dictionary_with_objects(id self, SEL cmd, const id* objects, const id* keys,
                           unsigned long count) {
  Ref made = Ref::adopt(fresh(self));
  fill_from_arrays(made, cmd, objects, keys, count);
  return autorelease(made.leak());
}
id dictionary_with_dictionary(id self, SEL, id other) {
  Ref made = Ref::adopt(fresh(self));
  fill_from_dictionary(made, other);
  return autorelease(made.leak());
}
id init_with_dictionary(id self, SEL, id other) {
  fill_from_dictionary(self, other);
  return self;
}
id init_with_objects(id self, SEL cmd, const id* objects, const id* keys, unsigned long count) {
  Ref owner = Ref::adopt(self);
  fill_from_arrays(self, cmd, objects, keys, count);
  return owner.leak();
}
id init_with_contents_of_file(id self, SEL, id path) {
  id root = is_string(path) ? read_property_list(utf8(path)) : nil;
  if (!is_dictionary(root)) {
    msg<void>(self, "release");
    return nil;
  }
  fill_from_dictionary(self, root);
  return self;
}
id dictionary_with_contents_of_file(id self, SEL, id path) {
  return autorelease(init_with_contents_of_file(fresh(self), nullptr, path));
}

unsigned long count(id self, SEL) { return kStorage.of(self).size(); }
id object_for_key(id self, SEL, id key) { return kStorage.of(self).get(key); }
id all_keys(id self, SEL) {
  std::vector<id> keys;
  for (const auto& entry : kStorage.of(self).entries()) keys.push_back(entry.key.get());
  return array(keys);
}
id all_values(id self, SEL) {
  std::vector<id> values;
  for (const auto& entry : kStorage.of(self).entries()) values.push_back(entry.value.get());
  return array(values);
}
BOOL is_equal_to_dictionary(id self, SEL, id other) {
  if (!is_dictionary(other)) return NO;
  if (self == other) return YES;
  const auto& mine = kStorage.of(self);
  const auto& theirs = kStorage.of(other);
  if (mine.size() != theirs.size()) return NO;
  for (const auto& entry : mine.entries()) {
    id counterpart = theirs.get(entry.key.get());
    if (counterpart == nil) return NO;
    if (counterpart != entry.value.get() &&
        !msg<BOOL>(entry.value.get(), "isEqual:", counterpart)) {
      return NO;
    }
  }
  return YES;
}
unsigned long hash(id self, SEL) { return kStorage.of(self).size(); }
id description(id self, SEL) { return string(describe(self, 0)); }
id copy_with_zone(id self, SEL, void*) {
  if (object_getClass(self) == dictionary_class()) return Ref::retain(self).leak();
  id made = allocate_instance(dictionary_class());
  fill_from_dictionary(made, self);
  return made;
}
id mutable_copy_with_zone(id self, SEL, void*) {
  id made = allocate_instance(mutable_dictionary_class());
  fill_from_dictionary(made, self);
  return made;
}
BOOL write_to_file(id self, SEL, id path, BOOL atomically) {
  return is_string(path) && write_property_list(self, utf8(path), atomically != NO) ? YES : NO;
}

void set_object_for_key(id self, SEL cmd, id object, id key) { store(self, cmd, key, object); }
// Subscript and key-value stores take nil as "remove the entry", as on the device.
void set_object_for_subscript(id self, SEL cmd, id object, id key) {
  if (object == nil) {
    if (key == nil) {
      objc::raise("NSInvalidArgumentException",
                  exception_prefix(self, cmd) + ": key cannot be nil");
    }
    kStorage.of(self).remove(key);
    return;
  }
  store(self, cmd, key, object);
}
void remove_object_for_key(id self, SEL cmd, id key) {
  if (key == nil)
    objc::raise("NSInvalidArgumentException", exception_prefix(self, cmd) + ": key cannot be nil");
  kStorage.of(self).remove(key);
}
void remove_all_objects(id self, SEL) { kStorage.of(self).clear(); }
void add_entries(id self, SEL, id other) { fill_from_dictionary(self, other); }

}  // namespace

void define_dictionary_classes() {
  objc::ClassDefinition("NSDictionary", objc_getClass("NSObject"))
      .member<Storage>("_storage")
      .class_method("dictionary", dictionary_empty)
      .class_method("dictionaryWithObject:forKey:", dictionary_with_object)
      .class_method("dictionaryWithObjects:forKeys:count:", dictionary_with_objects)
      .class_method("dictionaryWithDictionary:", dictionary_with_dictionary)
      .class_method("dictionaryWithContentsOfFile:", dictionary_with_contents_of_file)
      .method("initWithDictionary:", init_with_dictionary)
      .method("initWithObjects:forKeys:count:", init_with_objects)
      .method("initWithContentsOfFile:", init_with_contents_of_file)
      .method("count", count)
      .method("objectForKey:", object_for_key)
      .method("objectForKeyedSubscript:", object_for_key)
      .method("valueForKey:", object_for_key)
      .method("allKeys", all_keys)
      .method("allValues", all_values)
      .method("isEqualToDictionary:", is_equal_to_dictionary)
      .method("isEqual:", is_equal_to_dictionary)
      .method("hash", hash)
      .method("description", description)
      .method("copyWithZone:", copy_with_zone)
      .method("mutableCopyWithZone:", mutable_copy_with_zone)
      .method("writeToFile:atomically:", write_to_file)
      .finish();
  objc::ClassDefinition("NSMutableDictionary", dictionary_class())
      .method("setObject:forKey:", set_object_for_key)
      .method("setObject:forKeyedSubscript:", set_object_for_subscript)
      .method("setValue:forKey:", set_object_for_subscript)
      .method("removeObjectForKey:", remove_object_for_key)
      .method("removeAllObjects", remove_all_objects)
      .method("addEntriesFromDictionary:", add_entries)
      .finish();
}

id dictionary(std::initializer_list<std::pair<id, id>> entries) {
  std::vector<id> keys;
  std::vector<id> values;
  for (const auto& [key, value] : entries) {
    keys.push_back(key);
    values.push_back(value);
  }
  return msg<id>(dictionary_class(), "dictionaryWithObjects:forKeys:count:", values.data(),
                 keys.data(), static_cast<unsigned long>(keys.size()));
}

std::vector<std::pair<id, id>> dictionary_items(id dictionary) {
  std::vector<std::pair<id, id>> out;
  if (!is_dictionary(dictionary)) return out;
  for (const auto& entry : kStorage.of(dictionary).entries()) {
    out.emplace_back(entry.key.get(), entry.value.get());
  }
  return out;
}

bool is_dictionary(id object) { return objc::is_kind_of(object, dictionary_class()); }

}  // namespace ns
