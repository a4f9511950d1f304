#include "platform/foundation/ns_array.h"

#include <string>

#include "platform/foundation/description.h"
#include "platform/foundation/foundation_types.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/property_list.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/exception.h"

namespace ns {
namespace {

const objc::Member<std::vector<Ref>> kItems{"NSArray", "_items"};

const objc::ClassRef array_class{"NSArray"};
const objc::ClassRef mutable_array_class{"NSMutableArray"};

[[noreturn]] void raise_index(id self, SEL cmd, unsigned long index, std::size_t count) {
  std::string bounds =
      count == 0 ? "empty array" : "beyond bounds [0 .. " + std::to_string(count - 1) + "]";
  objc::raise("NSRangeException", "*** " + objc::method_name(self, cmd) + ": index " +
                                      std::to_string(index) + " " + bounds);
}

void require_object(id self, SEL cmd, id object) {
  if (object == nil) {
    objc::raise("NSInvalidArgumentException",
                "*** " + objc::method_name(self, cmd) + ": object cannot be nil");
  }
}

std::vector<Ref> retained(id self, SEL cmd, const id* objects, unsigned long count) {
  std::vector<Ref> items;
  items.reserve(count);
  for (unsigned long i = 0; i < count; ++i) {
    require_object(self, cmd, objects[i]);
    items.push_back(Ref::retain(objects[i]));
  }
  return items;
}

id new_array(Class cls, std::vector<Ref> items) {
  id object = allocate_instance(cls);
  kItems.of(object) = std::move(items);
  return object;
}

Class as_class(id self) { return reinterpret_cast<Class>(self); }

id array_empty(id self, SEL) { return autorelease(new_array(as_class(self), {})); }
id array_with_object(id self, SEL cmd, id object) {
  require_object(self, cmd, object);
  return autorelease(new_array(as_class(self), {Ref::retain(object)}));
}
id array_with_objects_count(id self, SEL cmd, const id* objects, unsigned long count) {
  return autorelease(new_array(as_class(self), retained(self, cmd, objects, count)));
}
id array_with_array(id self, SEL, id other) {
  return autorelease(
      new_array(as_class(self), is_array(other) ? kItems.of(other) : std::vector<Ref>{}));
}
id array_with_contents_of_file(id self, SEL, id path) {
  id root = read_property_list(utf8(path));
  if (!is_array(root)) return nil;
  return autorelease(new_array(as_class(self), kItems.of(root)));
}
id init_with_array(id self, SEL, id other) {
  if (is_array(other)) kItems.of(self) = kItems.of(other);
  return self;
}
id init_with_objects_count(id self, SEL cmd, const id* objects, unsigned long count) {
  kItems.of(self) = retained(self, cmd, objects, count);
  return self;
}
id init_with_contents_of_file(id self, SEL, id path) {
  id root = read_property_list(utf8(path));
  if (!is_array(root)) {
    msg<void>(self, "release");
    return nil;
  }
  kItems.of(self) = kItems.of(root);
  return self;
}

unsigned long count(id self, SEL) { return kItems.of(self).size(); }
id object_at_index(id self, SEL cmd, unsigned long index) {
  const auto& items = kItems.of(self);
  if (index >= items.size()) raise_index(self, cmd, index, items.size());
  return items[index];
}
id first_object(id self, SEL) {
  const auto& items = kItems.of(self);
  return items.empty() ? nil : items.front().get();
}
id last_object(id self, SEL) {
  const auto& items = kItems.of(self);
  return items.empty() ? nil : items.back().get();
}
unsigned long index_of_object(id self, SEL, id object) {
  if (object == nil) return NSNotFound;
  const auto& items = kItems.of(self);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].get() == object || msg<BOOL>(items[i].get(), "isEqual:", object)) return i;
  }
  return NSNotFound;
}
BOOL contains_object(id self, SEL, id object) {
  return index_of_object(self, nullptr, object) != NSNotFound ? YES : NO;
}
BOOL is_equal_to_array(id self, SEL, id other) {
  if (!is_array(other)) return NO;
  if (self == other) return YES;
  const auto& mine = kItems.of(self);
  const auto& theirs = kItems.of(other);
  if (mine.size() != theirs.size()) return NO;
  for (std::size_t i = 0; i < mine.size(); ++i) {
    if (mine[i].get() != theirs[i].get() &&
        !msg<BOOL>(mine[i].get(), "isEqual:", theirs[i].get())) {
      return NO;
    }
  }
  return YES;
}
unsigned long hash(id self, SEL) { return kItems.of(self).size(); }
id description(id self, SEL) { return string(describe(self, 0)); }
id copy_with_zone(id self, SEL, void*) {
  if (object_getClass(self) == array_class()) return Ref::retain(self).leak();
  return new_array(array_class(), kItems.of(self));
}
id mutable_copy_with_zone(id self, SEL, void*) {
  return new_array(mutable_array_class(), kItems.of(self));
}
BOOL write_to_file(id self, SEL, id path, BOOL atomically) {
  return write_property_list(self, utf8(path), atomically != NO) ? YES : NO;
}

void add_object(id self, SEL cmd, id object) {
  require_object(self, cmd, object);
  kItems.of(self).push_back(Ref::retain(object));
}
void add_objects_from_array(id self, SEL, id other) {
  if (!is_array(other)) return;
  // Copied first: the array may be adding itself.
  std::vector<Ref> more = kItems.of(other);
  auto& items = kItems.of(self);
  items.insert(items.end(), more.begin(), more.end());
}
void insert_object(id self, SEL cmd, id object, unsigned long index) {
  require_object(self, cmd, object);
  auto& items = kItems.of(self);
  if (index > items.size()) raise_index(self, cmd, index, items.size());
  items.insert(items.begin() + static_cast<long>(index), Ref::retain(object));
}
void remove_object_at_index(id self, SEL cmd, unsigned long index) {
  auto& items = kItems.of(self);
  if (index >= items.size()) raise_index(self, cmd, index, items.size());
  // Taken out before it is released, so a dealloc that reaches this array
  // finds it consistent.
  Ref removed = std::move(items[index]);
  items.erase(items.begin() + static_cast<long>(index));
}
void remove_last_object(id self, SEL) {
  auto& items = kItems.of(self);
  if (items.empty()) return;
  Ref removed = std::move(items.back());
  items.pop_back();
}
void remove_object(id self, SEL, id object) {
  if (object == nil) return;
  auto& items = kItems.of(self);
  // Every comparison is made before anything moves: isEqual: may raise.
  std::vector<bool> equal(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    equal[i] = items[i].get() == object || msg<BOOL>(items[i].get(), "isEqual:", object);
  }
  std::vector<Ref> removed;
  std::vector<Ref> kept;
  for (std::size_t i = 0; i < items.size(); ++i) {
    (equal[i] ? removed : kept).push_back(std::move(items[i]));
  }
  items = std::move(kept);
}
void remove_all_objects(id self, SEL) {
  std::vector<Ref> removed;
  removed.swap(kItems.of(self));
}
void replace_object_at_index(id self, SEL cmd, unsigned long index, id object) {
  require_object(self, cmd, object);
  auto& items = kItems.of(self);
  if (index >= items.size()) raise_index(self, cmd, index, items.size());
  Ref previous = std::exchange(items[index], Ref::retain(object));
}
void set_object_at_indexed_subscript(id self, SEL cmd, id object, unsigned long index) {
  require_object(self, cmd, object);
  auto& items = kItems.of(self);
  if (index == items.size()) {
    items.push_back(Ref::retain(object));
    return;
  }
  replace_object_at_index(self, cmd, index, object);
}

}  // namespace

void define_array_classes() {
  objc::ClassDefinition("NSArray", objc_getClass("NSObject"))
      .member<std::vector<Ref>>("_items")
      .class_method("array", array_empty)
      .class_method("arrayWithObject:", array_with_object)
      .class_method("arrayWithObjects:count:", array_with_objects_count)
      .class_method("arrayWithArray:", array_with_array)
      .class_method("arrayWithContentsOfFile:", array_with_contents_of_file)
      .method("initWithArray:", init_with_array)
      .method("initWithObjects:count:", init_with_objects_count)
      .method("initWithContentsOfFile:", init_with_contents_of_file)
      .method("count", count)
      .method("objectAtIndex:", object_at_index)
      .method("objectAtIndexedSubscript:", object_at_index)
      .method("firstObject", first_object)
      .method("lastObject", last_object)
      .method("indexOfObject:", index_of_object)
      .method("containsObject:", contains_object)
      .method("isEqualToArray:", is_equal_to_array)
      .method("isEqual:", is_equal_to_array)
      .method("hash", hash)
      .method("description", description)
      .method("copyWithZone:", copy_with_zone)
      .method("mutableCopyWithZone:", mutable_copy_with_zone)
      .method("writeToFile:atomically:", write_to_file)
      .finish();
  objc::ClassDefinition("NSMutableArray", array_class())
      .method("addObject:", add_object)
      .method("addObjectsFromArray:", add_objects_from_array)
      .method("insertObject:atIndex:", insert_object)
      .method("removeObjectAtIndex:", remove_object_at_index)
      .method("removeLastObject", remove_last_object)
      .method("removeObject:", remove_object)
      .method("removeAllObjects", remove_all_objects)
      .method("replaceObjectAtIndex:withObject:", replace_object_at_index)
      .method("setObject:atIndexedSubscript:", set_object_at_indexed_subscript)
      .finish();
}

id array(std::initializer_list<id> items) {
  return msg<id>(array_class(), "arrayWithObjects:count:", items.begin(),
                 static_cast<unsigned long>(items.size()));
}

id array(const std::vector<id>& items) {
  return msg<id>(array_class(), "arrayWithObjects:count:", items.data(),
                 static_cast<unsigned long>(items.size()));
}

std::vector<id> array_items(id array) {
  std::vector<id> out;
  if (!is_array(array)) return out;
  for (const auto& item : kItems.of(array)) out.push_back(item.get());
  return out;
}

bool is_array(id object) { return objc::is_kind_of(object, array_class()); }

}  // namespace ns
