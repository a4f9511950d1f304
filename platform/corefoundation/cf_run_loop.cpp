#include "platform/corefoundation/cf_run_loop.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/foundation/ns_string.h"
#include "platform/corefoundation/run_loop.h"

struct CFRunLoop {
  cf::RunLoop& loop;
};

namespace {

CFRunLoop& main_ref() {
  static CFRunLoop main{cf::main_run_loop()};
  return main;
}

cf::RunLoop& loop_of(CFRunLoopRef rl) {
  if (rl == nullptr) {
    std::fprintf(stderr, "runloop: a run loop function was given no run loop\n");
    std::abort();
  }
  return rl->loop;
}

std::chrono::milliseconds as_timeout(CFTimeInterval seconds) {
  using std::chrono::milliseconds;
  if (!(seconds > 0)) return milliseconds(0);
  // Beyond a few centuries a time-out is as good as none.
  if (seconds > 1e10) return milliseconds::max();
  return milliseconds(static_cast<milliseconds::rep>(std::ceil(seconds * 1000)));
}

}  // namespace

const CFRunLoopMode kCFRunLoopDefaultMode = ns::constant_string("kCFRunLoopDefaultMode");
const CFRunLoopMode kCFRunLoopCommonModes = ns::constant_string("kCFRunLoopCommonModes");

CFRunLoopRef CFRunLoopGetMain() { return &main_ref(); }

void CFRunLoopRun() { cf::main_run_loop().run_until_stopped(); }

CFRunLoopRunResult CFRunLoopRunInMode(CFRunLoopMode, CFTimeInterval seconds,
                                      Boolean returnAfterSourceHandled) {
  switch (cf::main_run_loop().run(as_timeout(seconds), returnAfterSourceHandled != 0)) {
    case cf::RunLoop::RunResult::kStopped:
      return kCFRunLoopRunStopped;
    case cf::RunLoop::RunResult::kHandledSource:
      return kCFRunLoopRunHandledSource;
    case cf::RunLoop::RunResult::kTimedOut:
      break;
  }
  return kCFRunLoopRunTimedOut;
}

void CFRunLoopStop(CFRunLoopRef rl) { loop_of(rl).stop(); }

void CFRunLoopWakeUp(CFRunLoopRef rl) { loop_of(rl).wake(); }
