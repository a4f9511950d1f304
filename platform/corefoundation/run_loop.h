// The main run loop: the loop that the host app's main thread spends its life
// in. It waits in poll(2) for two kinds of input, work that any thread posts
// with `perform` and descriptors that a platform service watches with
// `add_source` (the Darwin notify center's), and runs their callbacks on the
// main thread only, each inside its own autorelease pool. Tests and the
// console run it for a while or until a condition holds.
#pragma once

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace cf {

class RunLoop {
 public:
  using Callback = std::function<void()>;

  RunLoop();
  ~RunLoop();
  RunLoop(const RunLoop&) = delete;
  RunLoop& operator=(const RunLoop&) = delete;

  // Queues `work` for the loop's next turn; callable from any thread. Work runs
  // in the order it was queued.
  void perform(Callback work);

  // Calls `callback` at each turn in which `fd` is readable, has hung up or
  // failed, until `remove_source(fd)`; callable from any thread. A callback
  // that leaves its descriptor readable is called again at the next turn.
  // The descriptor stays the caller's: remove it before closing it (a closed
  // descriptor still registered stops the process). Registering a
  // descriptor twice is a programmer's mistake and stops the process.
  void add_source(int fd, Callback callback);
  // Stops watching `fd`; from then on its callback is not called, even later
  // in the current turn. Safe from inside any callback. An unknown `fd` is
  // ignored.
  void remove_source(int fd);

  // One turn: waits up to `timeout` for input (a negative or zero time-out
  // does not wait, one beyond INT_MAX milliseconds waits indefinitely), then
  // runs the work queued so far and the callbacks of the ready descriptors.
  // Returns whether any callback ran. Running the loop off the main thread
  // is a programmer's mistake and stops the process. A callback's exception
  // leaves the loop consistent (work not yet run stays queued) and reaches
  // the caller.
  bool run_once(std::chrono::milliseconds timeout);

  // Runs turns until `done()` answers true (asked before the first turn and
  // after each), `timeout` passes or `stop()` is called. Returns done()'s
  // last answer.
  bool run_until(const std::function<bool()>& done, std::chrono::milliseconds timeout);

  enum class RunResult { kStopped, kTimedOut, kHandledSource };
  // Runs turns until `timeout` passes or `stop()` is called; with
  // `return_after_handled`, also returns after the first turn in which a
  // callback ran. A time-out of zero or less still makes one turn.
  RunResult run(std::chrono::milliseconds timeout, bool return_after_handled);

  // Runs turns for `duration`, or until `stop()` is called.
  void run_for(std::chrono::milliseconds duration);

  // Runs turns until `stop()` is called.
  void run_until_stopped();

  // Makes the innermost running run_until/run/run_for/run_until_stopped
  // return after its current turn; callable from any thread. A stop while
  // nothing runs ends the next run at once, as on the device.
  void stop();

  // Interrupts a turn that is waiting; callable from any thread.
  void wake();

 private:
  struct Source {
    int fd;
    Callback callback;
    bool removed = false;
  };

  bool take_stop();
  bool run_work();
  void run_ready_sources(const std::vector<std::shared_ptr<Source>>& ready);
  bool source_live(const Source& source);

  int wake_fd_;
  std::mutex lock_;
  std::deque<Callback> work_;
  std::map<int, std::shared_ptr<Source>> sources_;
  std::atomic<bool> stop_requested_{false};
};

// The process's main run loop; it lives for the process.
RunLoop& main_run_loop();

}  // namespace cf
