// CoreFoundation's run loop interface over the main run loop. Every source
// and every piece of posted work belongs to the common modes here, so a
// mode names nothing and each mode runs the same loop.
#pragma once

#include <cstdint>

#include "platform/corefoundation/cf_base.h"

typedef struct CFRunLoop* CFRunLoopRef;
typedef CFStringRef CFRunLoopMode;

enum CFRunLoopRunResult : std::int32_t {
  kCFRunLoopRunFinished = 1,
  kCFRunLoopRunStopped = 2,
  kCFRunLoopRunTimedOut = 3,
  kCFRunLoopRunHandledSource = 4,
};

extern const CFRunLoopMode kCFRunLoopDefaultMode;
extern const CFRunLoopMode kCFRunLoopCommonModes;

// The main thread's run loop.
CFRunLoopRef CFRunLoopGetMain();
// Runs the main run loop until CFRunLoopStop; on the main thread only.
void CFRunLoopRun();
// Runs the main run loop for `seconds` (zero or less: one turn that does not
// wait), until CFRunLoopStop, or, with `returnAfterSourceHandled`, until a
// callback has run. Never answers kCFRunLoopRunFinished: the main run loop
// always has a source. On the main thread only.
CFRunLoopRunResult CFRunLoopRunInMode(CFRunLoopMode mode, CFTimeInterval seconds,
                                      Boolean returnAfterSourceHandled);
// Makes the innermost run of `rl` return; callable from any thread.
void CFRunLoopStop(CFRunLoopRef rl);
// Interrupts a run of `rl` that is waiting; callable from any thread.
void CFRunLoopWakeUp(CFRunLoopRef rl);
