// An owning reference to a runtime object: retains on copy, releases on
// destruction. `adopt` takes over a reference the caller already owns (the
// result of alloc, new, copy); `retain` takes a new one.
#pragma once

#include <string>
#include <utility>

#include "platform/objc/runtime.h"
#include "platform/objc/type_encoding.h"

namespace objc {

void retain_object(id object);
void release_object(id object);

class Ref {
 public:
  Ref() = default;
  Ref(std::nullptr_t) {}  // NOLINT: absent converts implicitly, as nil does
  static Ref adopt(id object) { return Ref(object); }
  static Ref retain(id object) {
    retain_object(object);
    return Ref(object);
  }

  Ref(const Ref& other) : object_(other.object_) { retain_object(object_); }
  Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nil)) {}
  Ref& operator=(Ref other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }
  ~Ref() { release_object(object_); }

  id get() const { return object_; }
  operator id() const { return object_; }  // NOLINT: a Ref is passed wherever an id is
  explicit operator bool() const { return object_ != nil; }

  // Gives up ownership without releasing: the caller now owns the reference.
  id leak() { return std::exchange(object_, nil); }

 private:
  explicit Ref(id object) : object_(object) {}
  id object_ = nil;
};

// A member held by a Ref is an object member to the runtime: a Ref is laid
// out as the id it owns, so members by name read and write it as one.
static_assert(sizeof(Ref) == sizeof(id));
template <>
struct Encoding<Ref> {
  static std::string value() { return "@"; }
};

}  // namespace objc
