// How the platform's exceptions travel through C++ code. On the device an
// exception is an NSException object thrown by @throw; here the object rides
// in a C++ exception of type objc::Exception, which owns a reference to it.
// Rules and tools catch objc::Exception exactly where the device code would
// use @catch (NSException*).
#pragma once

#include <string>

#include "platform/objc/ref.h"

namespace objc {

class Exception {
 public:
  explicit Exception(Ref object) : object_(std::move(object)) {}
  // The NSException (or other object) that was raised.
  id object() const { return object_.get(); }

 private:
  Ref object_;
};

// Makes an NSException with this name and reason and raises it.
[[noreturn]] void raise(const char* name, const std::string& reason);

}  // namespace objc
