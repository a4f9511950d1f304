// Changing what a class answers a selector with, so that every later send
// sees the change. GCC's runtime keeps one dispatch table per class, built
// from its superclass's when the class is first messaged, and its
// `method_setImplementation` falls short of the device's in two ways: it
// updates only the table of the class that defines the method, so subclasses
// whose tables were already built keep the old implementation; and for a
// class not yet messaged it writes into the table shared by every class not
// yet messaged, so all of those would answer the selector with the new
// implementation. `set_implementation` does what the device's runtime does.
#pragma once

#include "platform/objc/runtime.h"

namespace objc {

// Gives `method`, which `owner` defines itself (a metaclass for a class
// method), the implementation `imp`, and returns the previous one. From then
// on `owner` and every subclass that inherits the method answer with `imp`;
// no other class is affected. Builds `owner`'s dispatch table first if it has
// none yet, which runs its +initialize as a first message would.
IMP set_implementation(Class owner, Method method, IMP imp);

}  // namespace objc
