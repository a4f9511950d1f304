#include "platform/corefoundation/run_loop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "platform/foundation/ns_object.h"

namespace cf {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

[[noreturn]] void run_loop_error(const char* what) {
  std::fprintf(stderr, "runloop: %s\n", what);
  std::abort();
}

bool on_main_thread() { return gettid() == getpid(); }

int poll_timeout(milliseconds timeout) {
  if (timeout.count() <= 0) return 0;
  if (timeout.count() > INT_MAX) return -1;
  return static_cast<int>(timeout.count());
}

// `timeout` from now; a time-out too long for the clock never passes.
steady_clock::time_point deadline_after(milliseconds timeout) {
  auto now = steady_clock::now();
  auto room = std::chrono::floor<milliseconds>(steady_clock::time_point::max() - now);
  return timeout >= room ? steady_clock::time_point::max() : now + timeout;
}

milliseconds time_left(steady_clock::time_point deadline) {
  return std::chrono::ceil<milliseconds>(deadline - steady_clock::now());
}

void run_in_pool(const RunLoop::Callback& callback) {
  ns::AutoreleasePool pool;
  callback();
}

}  // namespace

RunLoop::RunLoop() : wake_fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
  if (wake_fd_ < 0) run_loop_error("cannot make the run loop's wake-up descriptor");
}

RunLoop::~RunLoop() { close(wake_fd_); }

void RunLoop::perform(Callback work) {
  {
    std::lock_guard guard(lock_);
    work_.push_back(std::move(work));
  }
  wake();
}

void RunLoop::wake() {
  std::uint64_t one = 1;
  // Only a counter that is already full can refuse the write, and a full
  // counter wakes the loop just the same.
  [[maybe_unused]] ssize_t written = write(wake_fd_, &one, sizeof one);
}

void RunLoop::add_source(int fd, Callback callback) {
  {
    std::lock_guard guard(lock_);
    auto source = std::make_shared<Source>(Source{fd, std::move(callback)});
    if (!sources_.try_emplace(fd, std::move(source)).second) {
      run_loop_error("a descriptor was registered twice as a run loop source");
    }
  }
  wake();
}

void RunLoop::remove_source(int fd) {
  std::lock_guard guard(lock_);
  auto found = sources_.find(fd);
  if (found == sources_.end()) return;
  found->second->removed = true;
  sources_.erase(found);
}

bool RunLoop::source_live(const Source& source) {
  std::lock_guard guard(lock_);
  return !source.removed;
}

bool RunLoop::run_once(milliseconds timeout) {
  if (!on_main_thread()) run_loop_error("the main run loop was run off the main thread");
  std::vector<pollfd> fds{{wake_fd_, POLLIN, 0}};
  std::vector<std::shared_ptr<Source>> watched;
  int wait = poll_timeout(timeout);
  {
    std::lock_guard guard(lock_);
    for (const auto& [fd, source] : sources_) {
      fds.push_back({fd, POLLIN, 0});
      watched.push_back(source);
    }
    if (!work_.empty()) wait = 0;
  }
  if (poll(fds.data(), fds.size(), wait) < 0) {
    if (errno == EINTR) return false;
    run_loop_error("poll failed");
  }
  if (fds[0].revents != 0) {
    std::uint64_t count;
    [[maybe_unused]] ssize_t read_bytes = read(wake_fd_, &count, sizeof count);
  }
  std::vector<std::shared_ptr<Source>> ready;
  for (std::size_t i = 1; i < fds.size(); ++i) {
    if (fds[i].revents == 0) continue;
    if ((fds[i].revents & POLLNVAL) != 0 && source_live(*watched[i - 1])) {
      run_loop_error("a run loop source's descriptor was closed while still registered");
    }
    ready.push_back(watched[i - 1]);
  }
  bool ran = run_work();
  for (const auto& source : ready) {
    if (!source_live(*source)) continue;
    run_in_pool(source->callback);
    ran = true;
  }
  return ran;
}

bool RunLoop::run_work() {
  std::deque<Callback> batch;
  {
    std::lock_guard guard(lock_);
    batch.swap(work_);
  }
  bool ran = !batch.empty();
  while (!batch.empty()) {
    Callback work = std::move(batch.front());
    batch.pop_front();
    try {
      run_in_pool(work);
    } catch (...) {
      {
        std::lock_guard guard(lock_);
        work_.insert(work_.begin(), std::make_move_iterator(batch.begin()),
                     std::make_move_iterator(batch.end()));
      }
      wake();
      throw;
    }
  }
  return ran;
}

bool RunLoop::run_until(const std::function<bool()>& done, milliseconds timeout) {
  auto deadline = deadline_after(timeout);
  while (!done()) {
    if (take_stop()) return false;
    run_once(time_left(deadline));
    if (steady_clock::now() >= deadline) return done();
  }
  return true;
}

RunLoop::RunResult RunLoop::run(milliseconds timeout, bool return_after_handled) {
  auto deadline = deadline_after(timeout);
  while (true) {
    if (take_stop()) return RunResult::kStopped;
    bool handled = run_once(time_left(deadline));
    if (handled && return_after_handled) return RunResult::kHandledSource;
    if (steady_clock::now() >= deadline) {
      return take_stop() ? RunResult::kStopped : RunResult::kTimedOut;
    }
  }
}

void RunLoop::run_for(milliseconds duration) { run(duration, false); }

void RunLoop::run_until_stopped() { run(milliseconds::max(), false); }

void RunLoop::stop() {
  stop_requested_.store(true);
  wake();
}

bool RunLoop::take_stop() { return stop_requested_.exchange(false); }

RunLoop& main_run_loop() {
  static auto* loop = new RunLoop;  // lives for the process, like the main thread
  return *loop;
}

}  // namespace cf
