// NSObject, the root class, and the autorelease pool. Reference counting is
// manual, as on the device: alloc/new/copy give an owned reference, other
// constructors give an autoreleased one that the innermost pool releases when
// it is drained.
#pragma once

#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"

namespace ns {

using objc::is_kind_of;
using objc::msg;
using objc::Ref;

// Defines NSObject and NSAutoreleasePool; called once at platform start.
void define_object_classes();

// Hands `object` to the innermost pool; returns it for chaining.
id autorelease(id object);

// An @autoreleasepool block: objects autoreleased while it lives are
// released when it ends.
class AutoreleasePool {
 public:
  AutoreleasePool();
  ~AutoreleasePool();
  AutoreleasePool(const AutoreleasePool&) = delete;
  AutoreleasePool& operator=(const AutoreleasePool&) = delete;
  // Releases what the pool holds so far and keeps the pool in place.
  void drain();

 private:
  std::size_t depth_;
};

// +alloc for a class: zeroed storage with its C++ members constructed.
id allocate_instance(Class cls);

}  // namespace ns
