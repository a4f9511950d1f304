// NSLog, the system log as the platform offers it: one record per call,
// written to standard error as one whole line,
//   "YYYY-MM-DD HH:MM:SS.mmm <process>[<pid>:<thread>] <message>"
// with the local time to the millisecond, the process name, the process id
// and the calling thread's id. Calls from many threads never interleave.
// Tests collect records with ns::LogCapture instead of reading standard error.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>
#include <vector>

#include "platform/objc/runtime.h"

// Formats the message as ns::format does (see format.h) and logs it; a nil
// format logs "(null)".
extern "C" void NSLog(id format, ...);
extern "C" void NSLogv(id format, va_list arguments);

namespace ns {

// The name records carry; the host app model sets it. Until then it is the
// host process's own name (from /proc/self/comm).
void set_process_name(std::string_view name);
std::string process_name();

// While it lives, collects every record logged in the process (from any
// thread). With captures nested, the newest one collects. Records are also
// written to standard error only when asked.
class LogCapture {
 public:
  enum class Echo { kNo, kYes };
  explicit LogCapture(Echo echo = Echo::kNo);
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  // The messages logged so far, in order, as UTF-8, each exactly as logged
  // (a line feed the message ends with included).
  std::vector<std::string> messages() const;
  // The same records as whole lines, prefix included, without the line end.
  std::vector<std::string> lines() const;

 private:
  friend void deliver_log_record(const std::string& line, const std::string& message);
  Echo echo_;
  std::vector<std::string> lines_;
  std::vector<std::string> messages_;
};

}  // namespace ns
