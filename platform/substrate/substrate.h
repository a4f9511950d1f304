// The substrate stand-in: method replacement with hand-back of the previous
// implementation, the one hooking operation a tweak uses. It works on the
// runtime's own method tables, so every send, the app's and the hooks' own,
// reaches a replacement exactly as it would on the device.
#pragma once

#include "platform/objc/runtime.h"

// Replaces what `_class` answers `message` with by `hook` (for a class method,
// pass the metaclass), and stores in `*old` an implementation that does what
// the class did before when called with a receiver, the selector and the
// arguments:
//  - where the class has a method of its own, its implementation is swapped
//    and the previous one handed back;
//  - where it only inherits the method, a method with the inherited one's type
//    encoding is added to the class, and the hand-back is a trampoline that
//    reaches the superclass's implementation as it stands at each call, so a
//    hook installed on the superclass later is reached as well (for a method
//    whose types libffi cannot describe, such as one taking a union, the
//    hand-back is the superclass's implementation at the time of the hook);
//  - where the class already answers `message` with `hook` itself, nothing
//    changes, so a hook never becomes its own original.
// Subclasses that have no method of their own for `message` reach `hook`.
// Given no class, no selector, or a class that does not answer the selector,
// nothing is installed and `*old` is not written. `old` may be null when the
// caller has no use for the previous implementation. A null `hook` is a
// programmer's mistake and stops the process. Hooks are never uninstalled.
extern "C" void MSHookMessageEx(Class _class, SEL message, IMP hook, IMP* old);
