#include "platform/foundation/ns_set.h"

#include <string>

#include "platform/foundation/description.h"
#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/ordered_store.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/exception.h"

namespace ns {
namespace {

struct Entry {
  Ref key;
  unsigned long hash;
  unsigned long count;
};

class Storage {
 public:
  const std::vector<Entry>& members() const { return store_.entries(); }
  std::size_t find(id object) const { return store_.find(object); }

  // Adds `object`; an equal member already there keeps its object and, in a
  // counted set, counts one occurrence more.
  void add(id object, bool counted) {
    std::size_t at = store_.find(object);
    if (at != store_.size()) {
      if (counted) ++store_.entry(at).count;
      return;
    }
    store_.append({Ref::retain(object), msg<unsigned long>(object, "hash"), 1});
  }

  // Takes away one occurrence, or the member whatever its count.
  void remove(id object, bool one_occurrence) {
    std::size_t at = store_.find(object);
    if (at == store_.size()) return;
    if (one_occurrence && --store_.entry(at).count > 0) return;
    store_.erase(at);
  }

  void clear() { store_.clear(); }

 private:
  OrderedStore<Entry> store_;
};

const objc::Member<Storage> kStorage{"NSSet", "_storage"};

const objc::ClassRef set_class{"NSSet"};
const objc::ClassRef counted_set_class{"NSCountedSet"};

bool counts(id self) { return objc::is_kind_of(self, counted_set_class()); }

void add_checked(id self, SEL cmd, id object) {
  if (object == nil) {
    objc::raise("NSInvalidArgumentException",
                "*** " + objc::method_name(self, cmd) + ": object cannot be nil");
  }
  kStorage.of(self).add(object, counts(self));
}

void add_array(id self, SEL cmd, id array) {
  for (id item : array_items(array)) add_checked(self, cmd, item);
}

id fresh(id self) { return allocate_instance(reinterpret_cast<Class>(self)); }

id set_empty(id self, SEL) { return autorelease(fresh(self)); }
id set_with_array(id self, SEL cmd, id array) {
  Ref made = Ref::adopt(fresh(self));
  add_array(made, cmd, array);
  return autorelease(made.leak());
}
id set_with_object(id self, SEL cmd, id object) {
  Ref made = Ref::adopt(fresh(self));
  add_checked(made, cmd, object);
  return autorelease(made.leak());
}
id init_with_array(id self, SEL cmd, id array) {
  Ref owner = Ref::adopt(self);
  add_array(self, cmd, array);
  return owner.leak();
}

unsigned long count(id self, SEL) { return kStorage.of(self).members().size(); }
id member(id self, SEL, id object) {
  const auto& storage = kStorage.of(self);
  std::size_t at = storage.find(object);
  return at == storage.members().size() ? nil : storage.members()[at].key.get();
}
BOOL contains_object(id self, SEL, id object) {
  return member(self, nullptr, object) != nil ? YES : NO;
}
id all_objects(id self, SEL) { return array(set_items(self)); }
id any_object(id self, SEL) {
  const auto& members = kStorage.of(self).members();
  return members.empty() ? nil : members.front().key.get();
}
BOOL is_equal_to_set(id self, SEL, id other) {
  if (!is_set(other)) return NO;
  if (self == other) return YES;
  if (kStorage.of(self).members().size() != kStorage.of(other).members().size()) return NO;
  for (const auto& m : kStorage.of(self).members()) {
    if (member(other, nullptr, m.key.get()) == nil) return NO;
  }
  return YES;
}
unsigned long hash(id self, SEL) { return kStorage.of(self).members().size(); }
id description(id self, SEL) { return string(describe(self, 0)); }
id copy_with_zone(id self, SEL, void*) {
  if (object_getClass(self) == set_class()) return Ref::retain(self).leak();
  id made = allocate_instance(set_class());
  for (id item : set_items(self)) kStorage.of(made).add(item, false);
  return made;
}
id mutable_copy_with_zone(id self, SEL, void*) {
  // A counted set's copy keeps the counts; any other set's is a plain mutable set.
  bool counted = counts(self);
  id made = allocate_instance(counted ? counted_set_class() : objc_getClass("NSMutableSet"));
  for (const auto& m : kStorage.of(self).members()) {
    for (unsigned long i = 0; i < (counted ? m.count : 1); ++i) {
      kStorage.of(made).add(m.key.get(), counted);
    }
  }
  return made;
}

void add_object(id self, SEL cmd, id object) { add_checked(self, cmd, object); }
void add_objects_from_array(id self, SEL cmd, id array) { add_array(self, cmd, array); }
void remove_object(id self, SEL, id object) { kStorage.of(self).remove(object, counts(self)); }
void remove_all_objects(id self, SEL) { kStorage.of(self).clear(); }

unsigned long count_for_object(id self, SEL, id object) {
  const auto& storage = kStorage.of(self);
  std::size_t at = storage.find(object);
  return at == storage.members().size() ? 0 : storage.members()[at].count;
}

}  // namespace

void define_set_classes() {
  objc::ClassDefinition("NSSet", objc_getClass("NSObject"))
      .member<Storage>("_storage")
      .class_method("set", set_empty)
      .class_method("setWithArray:", set_with_array)
      .class_method("setWithObject:", set_with_object)
      .method("initWithArray:", init_with_array)
      .method("count", count)
      .method("member:", member)
      .method("containsObject:", contains_object)
      .method("allObjects", all_objects)
      .method("anyObject", any_object)
      .method("isEqualToSet:", is_equal_to_set)
      .method("isEqual:", is_equal_to_set)
      .method("hash", hash)
      .method("description", description)
      .method("copyWithZone:", copy_with_zone)
      .method("mutableCopyWithZone:", mutable_copy_with_zone)
      .finish();
  objc::ClassDefinition("NSMutableSet", set_class())
      .method("addObject:", add_object)
      .method("addObjectsFromArray:", add_objects_from_array)
      .method("removeObject:", remove_object)
      .method("removeAllObjects", remove_all_objects)
      .finish();
  objc::ClassDefinition("NSCountedSet", objc_getClass("NSMutableSet"))
      .method("countForObject:", count_for_object)
      .finish();
}

std::vector<id> set_items(id set) {
  std::vector<id> out;
  if (!is_set(set)) return out;
  for (const auto& m : kStorage.of(set).members()) out.push_back(m.key.get());
  return out;
}

bool is_set(id object) { return objc::is_kind_of(object, set_class()); }

}  // namespace ns
