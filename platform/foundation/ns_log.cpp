#include "platform/foundation/ns_log.h"

#include <sys/syscall.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <mutex>

#include "platform/foundation/format.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/unicode.h"

namespace ns {

void deliver_log_record(const std::string& line, const std::string& message);

namespace {

struct LogState {
  std::mutex lock;
  std::string process;
  std::vector<LogCapture*> captures;
};

LogState& state() {
  static auto* shared = [] {
    auto* s = new LogState;  // lives for the process: threads may log at exit
    std::ifstream comm("/proc/self/comm");
    std::getline(comm, s->process);
    if (s->process.empty()) s->process = "process";
    return s;
  }();
  return *shared;
}

void write_whole(const std::string& line) {
  std::string_view rest = line;
  while (!rest.empty()) {
    ssize_t written = ::write(STDERR_FILENO, rest.data(), rest.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return;  // standard error is gone: the record is lost, as on the device
    }
    rest.remove_prefix(static_cast<std::size_t>(written));
  }
}

std::string time_stamp() {
  timeval now{};
  gettimeofday(&now, nullptr);
  std::tm local{};
  localtime_r(&now.tv_sec, &local);
  char text[48];
  std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  std::snprintf(text + length, sizeof text - length, ".%03ld",
                static_cast<long>(now.tv_usec / 1000));
  return text;
}

void log_record(const std::u16string& message) {
  std::string body = utf8_from_utf16(message);
  std::string prefix = time_stamp() + " ";
  {
    std::lock_guard guard(state().lock);
    prefix += state().process;
  }
  prefix += "[" + std::to_string(::getpid()) + ":" + std::to_string(::syscall(SYS_gettid)) + "] ";
  std::string line = prefix + body;
  if (line.back() != '\n') line += '\n';
  deliver_log_record(line, body);
}

}  // namespace

void deliver_log_record(const std::string& line, const std::string& message) {
  auto& s = state();
  std::lock_guard guard(s.lock);
  if (s.captures.empty() || s.captures.back()->echo_ == LogCapture::Echo::kYes) write_whole(line);
  if (s.captures.empty()) return;
  LogCapture* capture = s.captures.back();
  capture->lines_.push_back(line.substr(0, line.size() - 1));
  capture->messages_.push_back(message);
}

void set_process_name(std::string_view name) {
  auto& s = state();
  std::lock_guard guard(s.lock);
  s.process = name;
}

std::string process_name() {
  auto& s = state();
  std::lock_guard guard(s.lock);
  return s.process;
}

LogCapture::LogCapture(Echo echo) : echo_(echo) {
  auto& s = state();
  std::lock_guard guard(s.lock);
  s.captures.push_back(this);
}

LogCapture::~LogCapture() {
  auto& s = state();
  std::lock_guard guard(s.lock);
  std::erase(s.captures, this);
}

std::vector<std::string> LogCapture::messages() const {
  std::lock_guard guard(state().lock);
  return messages_;
}

std::vector<std::string> LogCapture::lines() const {
  std::lock_guard guard(state().lock);
  return lines_;
}

}  // namespace ns

extern "C" void NSLogv(id format, va_list arguments) {
  // The message's objects are described inside a pool of the log's own.
  ns::AutoreleasePool pool;
  ns::log_record(format == nil ? u"(null)" : ns::vformat_characters(format, arguments));
}

extern "C" void NSLog(id format, ...) {
  va_list arguments;
  va_start(arguments, format);
  NSLogv(format, arguments);
  va_end(arguments);
}
