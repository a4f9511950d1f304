// The main run loop: posted work and descriptor sources run on the loop's
// thread, inside autorelease pools, only while the loop runs.
#include "platform/corefoundation/run_loop.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/exception.h"
#include "platform/corefoundation/cf_run_loop.h"

namespace {

using namespace std::chrono_literals;
using objc::msg;

bool on_main_thread() { return gettid() == getpid(); }

// A pipe whose read end is a source; each write makes it readable.
struct Pipe {
  int fds[2];
  Pipe() { EXPECT_EQ(pipe(fds), 0); }
  ~Pipe() { close(fds[0]), close(fds[1]); }
  int read_end() const { return fds[0]; }
  void signal() const { EXPECT_EQ(write(fds[1], "x", 1), 1); }
  void drain() const {
    char byte;
    EXPECT_EQ(read(fds[0], &byte, 1), 1);
  }
};

bool probe_deallocated = false;
void probe_dealloc(id self, SEL) {
  probe_deallocated = true;
  objc::msg_super<void>(self, objc_getClass("RunLoopProbe"), objc::sel("dealloc"));
}
Class probe_class() {
  static Class cls = objc::ClassDefinition("RunLoopProbe", objc_getClass("NSObject"))
                         .method("dealloc", probe_dealloc)
                         .finish();
  return cls;
}

TEST(RunLoop, WorkFromAnyThreadRunsOnTheLoopThreadInOrderOnlyWhileItRuns) {
  cf::RunLoop loop;
  std::vector<int> seen;
  bool off_main = false;
  std::thread poster([&] {
    for (int i = 0; i < 50; ++i) {
      loop.perform([&, i] {
        off_main |= !on_main_thread();
        seen.push_back(i);
      });
    }
  });
  poster.join();
  // Nothing runs until the loop turns.
  EXPECT_TRUE(seen.empty());
  EXPECT_TRUE(loop.run_until([&] { return seen.size() == 50; }, 10s));
  EXPECT_FALSE(off_main);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(seen[i], i);
}

TEST(RunLoop, SourceRunsWhenReadableAndNeverAfterRemoval) {
  cf::RunLoop loop;
  Pipe pipe;
  int calls = 0;
  loop.add_source(pipe.read_end(), [&] {
    pipe.drain();
    ++calls;
  });
  EXPECT_FALSE(loop.run_once(0ms));
  pipe.signal();
  EXPECT_TRUE(loop.run_until([&] { return calls == 1; }, 10s));
  loop.remove_source(pipe.read_end());
  pipe.signal();
  EXPECT_FALSE(loop.run_once(0ms));
  EXPECT_EQ(calls, 1);
}

TEST(RunLoop, ASourceRemovedByAnEarlierCallbackOfTheSameTurnIsSkipped) {
  cf::RunLoop loop;
  Pipe first, second;
  int calls = 0;
  // Whichever runs first removes the other, though both are ready.
  loop.add_source(first.read_end(), [&] {
    ++calls;
    loop.remove_source(second.read_end());
  });
  loop.add_source(second.read_end(), [&] {
    ++calls;
    loop.remove_source(first.read_end());
  });
  first.signal();
  second.signal();
  EXPECT_TRUE(loop.run_once(1s));
  EXPECT_EQ(calls, 1);
}

TEST(RunLoop, AnExceptionReachesTheCallerAndLeavesLaterWorkQueued) {
  ns::AutoreleasePool pool;
  cf::RunLoop loop;
  bool later_ran = false;
  loop.perform([] { objc::raise("NSInternalInconsistencyException", "work failed"); });
  loop.perform([&] { later_ran = true; });
  EXPECT_THROW(loop.run_once(0ms), objc::Exception);
  EXPECT_FALSE(later_ran);
  EXPECT_TRUE(loop.run_once(0ms));
  EXPECT_TRUE(later_ran);
}

TEST(RunLoop, EachCallbackDrainsItsOwnAutoreleasePool) {
  cf::RunLoop loop;
  probe_deallocated = false;
  bool released_before_next = false;
  loop.perform([] { msg<id>(msg<id>(probe_class(), "new"), "autorelease"); });
  loop.perform([&] { released_before_next = probe_deallocated; });
  loop.run_once(0ms);
  EXPECT_TRUE(released_before_next);
}

TEST(RunLoop, RunUntilAnswersWhetherTheConditionCameTrue) {
  cf::RunLoop loop;
  bool ran = false;
  loop.perform([&] { ran = true; });
  // A condition that already holds makes no turn.
  EXPECT_TRUE(loop.run_until([] { return true; }, 10s));
  EXPECT_FALSE(ran);
  EXPECT_TRUE(loop.run_until([&] { return ran; }, 10s));
  EXPECT_FALSE(loop.run_until([] { return false; }, 20ms));
}

TEST(RunLoop, StopEndsTheRunFromAnotherThreadAndIsKeptForTheNextRun) {
  cf::RunLoop loop;
  std::thread stopper([&] { loop.stop(); });
  loop.run_until_stopped();
  stopper.join();

  loop.stop();
  bool ran = false;
  loop.perform([&] { ran = true; });
  EXPECT_EQ(loop.run(10s, false), cf::RunLoop::RunResult::kStopped);
  EXPECT_FALSE(ran);
  EXPECT_EQ(loop.run(0ms, false), cf::RunLoop::RunResult::kTimedOut);
  EXPECT_TRUE(ran);
}

TEST(CFRunLoop, RunInModeReportsWhyItReturned) {
  ns::AutoreleasePool pool;
  EXPECT_EQ(ns::utf8(kCFRunLoopDefaultMode), "kCFRunLoopDefaultMode");
  EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false), kCFRunLoopRunTimedOut);

  bool ran = false;
  cf::main_run_loop().perform([&] { ran = true; });
  EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 10, true), kCFRunLoopRunHandledSource);
  EXPECT_TRUE(ran);

  cf::main_run_loop().perform([] { CFRunLoopStop(CFRunLoopGetMain()); });
  EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 10, false), kCFRunLoopRunStopped);
  cf::main_run_loop().perform([] { CFRunLoopStop(CFRunLoopGetMain()); });
  CFRunLoopRun();
}

TEST(RunLoopDeathTest, MisuseStopsTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(std::thread([] { cf::main_run_loop().run_once(0ms); }).join(),
               "run off the main thread");
  EXPECT_DEATH(
      {
        cf::RunLoop loop;
        int fds[2];
        if (pipe(fds) != 0) return;
        loop.add_source(fds[0], [] {});
        close(fds[0]);
        loop.run_once(0ms);
      },
      "closed while still registered");
}

}  // namespace
