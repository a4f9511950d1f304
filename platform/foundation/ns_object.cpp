#include "platform/foundation/ns_object.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/foundation/ns_string.h"

namespace ns {
namespace {

// Extra references beyond the one alloc gives; the object is freed when a
// release finds none.
const objc::Member<std::intptr_t> kExtraRetains{"NSObject", "_extraRetains"};

struct PoolStack {
  std::vector<std::vector<id>> pools;
};
thread_local PoolStack pool_stack;

bool is_class_object(id self) { return class_isMetaClass(object_getClass(self)); }

id object_alloc(id self, SEL) { return allocate_instance(reinterpret_cast<Class>(self)); }
id object_new(id self, SEL) { return msg<id>(msg<id>(self, "alloc"), "init"); }
id object_init(id self, SEL) { return self; }
id object_self(id self, SEL) { return self; }

id object_retain(id self, SEL) {
  std::atomic_ref(kExtraRetains.of(self)).fetch_add(1, std::memory_order_relaxed);
  return self;
}
void object_release(id self, SEL) {
  if (std::atomic_ref(kExtraRetains.of(self)).fetch_sub(1, std::memory_order_acq_rel) == 0) {
    msg<void>(self, "dealloc");
  }
}
unsigned long object_retain_count(id self, SEL) {
  return static_cast<unsigned long>(kExtraRetains.of(self)) + 1;
}
id object_autorelease(id self, SEL) { return autorelease(self); }
void object_dealloc(id self, SEL) {
  objc::destroy_members(self);
  std::free(self);
}

// Class objects live for the process: their reference counting does nothing.
id class_retain(id self, SEL) { return self; }
void class_release(id, SEL) {}
id class_autorelease(id self, SEL) { return self; }
unsigned long class_retain_count(id, SEL) { return static_cast<unsigned long>(-1); }

Class object_class(id self, SEL) {
  return is_class_object(self) ? reinterpret_cast<Class>(self) : object_getClass(self);
}
Class object_superclass(id self, SEL) { return class_getSuperclass(object_class(self, nullptr)); }

BOOL object_is_kind_of_class(id self, SEL, Class cls) {
  return objc::is_kind_of(self, cls) ? YES : NO;
}
BOOL object_is_member_of_class(id self, SEL, Class cls) {
  return cls != Nil && object_getClass(self) == cls;
}
BOOL object_responds_to_selector(id self, SEL, SEL selector) {
  return selector != nullptr && class_respondsToSelector(object_getClass(self), selector);
}
BOOL class_instances_respond(id self, SEL, SEL selector) {
  return selector != nullptr && class_respondsToSelector(reinterpret_cast<Class>(self), selector);
}
BOOL object_is_equal(id self, SEL, id other) { return self == other; }
unsigned long object_hash(id self, SEL) { return reinterpret_cast<std::uintptr_t>(self); }

id object_description(id self, SEL) {
  if (is_class_object(self)) return string(class_getName(reinterpret_cast<Class>(self)));
  char text[256];
  std::snprintf(text, sizeof text, "<%s: %p>", class_getName(object_getClass(self)),
                static_cast<void*>(self));
  return string(text);
}
id object_copy(id self, SEL) { return msg<id>(self, "copyWithZone:", static_cast<void*>(nullptr)); }
id object_mutable_copy(id self, SEL) {
  return msg<id>(self, "mutableCopyWithZone:", static_cast<void*>(nullptr));
}

// NSAutoreleasePool objects, for code that manages pools by message.
const objc::Member<std::size_t> kPoolDepth{"NSAutoreleasePool", "_depth"};
id pool_init(id self, SEL) {
  pool_stack.pools.emplace_back();
  kPoolDepth.of(self) = pool_stack.pools.size();
  return self;
}
void drain_to(std::size_t depth) {
  while (pool_stack.pools.size() >= depth && !pool_stack.pools.empty()) {
    // Releasing may autorelease more objects into this same pool: keep going
    // until it stays empty.
    auto& top = pool_stack.pools.back();
    while (!top.empty()) {
      std::vector<id> objects;
      objects.swap(top);
      for (id object : objects) objc::release_object(object);
    }
    pool_stack.pools.pop_back();
  }
}
void pool_drain(id self, SEL) {
  drain_to(kPoolDepth.of(self));
  object_dealloc(self, nullptr);
}

}  // namespace

// Instances are allocated here rather than by the runtime's
// class_createInstance so that their memory carries our own frames: leak
// reports then tell a lost object apart from the runtime's lifetime tables.
id allocate_instance(Class cls) {
  id object = static_cast<id>(std::calloc(1, class_getInstanceSize(cls)));
  if (object == nil) {
    std::fprintf(stderr, "out of memory allocating %s\n", class_getName(cls));
    std::abort();
  }
  object->class_pointer = cls;
  objc::construct_members(object);
  return object;
}

id autorelease(id object) {
  if (object == nil) return nil;
  if (pool_stack.pools.empty()) {
    static std::atomic<bool> warned{false};
    if (!warned.exchange(true)) {
      std::fprintf(stderr, "autorelease with no pool in place: %s leaks\n",
                   class_getName(object_getClass(object)));
    }
    return object;
  }
  pool_stack.pools.back().push_back(object);
  return object;
}

AutoreleasePool::AutoreleasePool() {
  pool_stack.pools.emplace_back();
  depth_ = pool_stack.pools.size();
}

AutoreleasePool::~AutoreleasePool() { drain_to(depth_); }

void AutoreleasePool::drain() {
  drain_to(depth_);
  pool_stack.pools.emplace_back();
}

void define_object_classes() {
  objc::ClassDefinition("NSObject", Nil)
      .member<Class>("isa")  // the runtime's class pointer must come first
      .member<std::intptr_t>("_extraRetains")
      .class_method("alloc", object_alloc)
      .class_method("new", object_new)
      .class_method("retain", class_retain)
      .class_method("release", class_release)
      .class_method("autorelease", class_autorelease)
      .class_method("retainCount", class_retain_count)
      .class_method("class", object_class)
      .class_method("superclass", object_superclass)
      .class_method("description", object_description)
      .class_method("instancesRespondToSelector:", class_instances_respond)
      .method("init", object_init)
      .method("self", object_self)
      .method("retain", object_retain)
      .method("release", object_release)
      .method("retainCount", object_retain_count)
      .method("autorelease", object_autorelease)
      .method("dealloc", object_dealloc)
      .method("class", object_class)
      .method("superclass", object_superclass)
      .method("isKindOfClass:", object_is_kind_of_class)
      .method("isMemberOfClass:", object_is_member_of_class)
      .method("respondsToSelector:", object_responds_to_selector)
      .method("isEqual:", object_is_equal)
      .method("hash", object_hash)
      .method("description", object_description)
      .method("copy", object_copy)
      .method("mutableCopy", object_mutable_copy)
      .finish();

  objc::ClassDefinition("NSAutoreleasePool", objc_getClass("NSObject"))
      .member<std::size_t>("_depth")
      .method("init", pool_init)
      .method("drain", pool_drain)
      .method("release", pool_drain)
      .finish();
}

}  // namespace ns
