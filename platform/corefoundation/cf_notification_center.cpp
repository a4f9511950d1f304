#include "platform/corefoundation/cf_notification_center.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/corefoundation/darwin_notify.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"
#include "platform/corefoundation/run_loop.h"

namespace {

[[noreturn]] void center_error(const char* function, const char* what) {
  std::fprintf(stderr, "notify: %s: %s\n", function, what);
  std::abort();
}

std::string name_text(const char* function, CFStringRef name) {
  if (!ns::is_string(name)) center_error(function, "the notification name is not a text");
  return ns::utf8(name);
}

}  // namespace

// The Darwin notify center of this process: its registrations and the
// inotify descriptor, on the main run loop, that watches the notify
// directories they were made under.
struct CFNotificationCenter {
  struct Registration {
    std::uint64_t serial;
    const void* observer;
    CFNotificationCallback callback;
    objc::Ref name;
    std::string file_name;
    std::string directory;
    int watch;  // -1 when the directory could not be watched
  };

  struct Delivery {
    std::uint64_t serial;
    const void* observer;
    CFNotificationCallback callback;
    objc::Ref name;
  };

  void add(const void* observer, CFNotificationCallback callback, CFStringRef name,
           std::string file_name) {
    std::string directory = cf::notify_directory();
    std::lock_guard guard(lock);
    for (const auto& r : registrations) {
      if (r.observer == observer && r.callback == callback && r.file_name == file_name &&
          r.directory == directory) {
        return;
      }
    }
    int watch = watch_directory(directory);
    registrations.push_back({next_serial++, observer, callback,
                             objc::Ref::adopt(objc::msg<id>(name, "copy")), std::move(file_name),
                             std::move(directory), watch});
  }

  // Ends `observer`'s registrations for the file name, or for all names.
  void remove(const void* observer, const std::optional<std::string>& file_name) {
    std::vector<objc::Ref> names;  // released after the lock is given up
    std::lock_guard guard(lock);
    std::set<int> left;
    std::erase_if(registrations, [&](Registration& r) {
      if (r.observer != observer || (file_name && r.file_name != *file_name)) return false;
      if (r.watch >= 0) left.insert(r.watch);
      names.push_back(std::move(r.name));
      return true;
    });
    for (int watch : left) {
      if (!watched(watch)) inotify_rm_watch(inotify_fd, watch);
    }
  }

  // The run loop callback: reads what inotify has, then calls each
  // registration whose file fired, once however often it fired.
  void deliver_ready() {
    std::set<std::pair<int, std::string>> fired;
    std::set<int> gone;
    bool overflow = false;
    read_events(fired, gone, overflow);

    std::vector<Delivery> due;
    {
      std::lock_guard guard(lock);
      for (auto& r : registrations) {
        if (r.watch < 0) continue;
        if (overflow || fired.contains({r.watch, r.file_name})) {
          due.push_back({r.serial, r.observer, r.callback, r.name});
        }
        if (gone.contains(r.watch)) r.watch = -1;
      }
    }
    for (std::size_t i = 0; i < due.size(); ++i) {
      try {
        deliver(due[i]);
      } catch (...) {
        // The events are consumed: what is still due goes to the next turn.
        for (std::size_t j = i + 1; j < due.size(); ++j) {
          cf::main_run_loop().perform([this, d = std::move(due[j])] { deliver(d); });
        }
        throw;
      }
    }
  }

 private:
  // With the lock held: the watch on `directory`, made (with the directory)
  // when needed; -1 when there is none.
  int watch_directory(const std::string& directory) {
    if (directory.empty()) return -1;
    if (inotify_fd < 0) {
      inotify_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
      if (inotify_fd < 0) return -1;
      cf::main_run_loop().add_source(inotify_fd, [this] { deliver_ready(); });
    }
    std::error_code ignored;
    std::filesystem::create_directories(directory, ignored);
    // The kernel hands back the existing watch for a directory already watched.
    return inotify_add_watch(inotify_fd, directory.c_str(), IN_CLOSE_WRITE | IN_ONLYDIR);
  }

  bool watched(int watch) const {
    for (const auto& r : registrations) {
      if (r.watch == watch) return true;
    }
    return false;
  }

  void read_events(std::set<std::pair<int, std::string>>& fired, std::set<int>& gone,
                   bool& overflow) {
    int fd;
    {
      std::lock_guard guard(lock);
      fd = inotify_fd;
    }
    alignas(inotify_event) char buffer[8192];
    while (true) {
      ssize_t size = read(fd, buffer, sizeof buffer);
      if (size < 0 && errno == EINTR) continue;
      if (size <= 0) return;
      for (ssize_t at = 0; at < size;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        // A full queue drops events: every observer may have missed its name.
        if ((event->mask & IN_Q_OVERFLOW) != 0) overflow = true;
        if ((event->mask & IN_IGNORED) != 0) gone.insert(event->wd);
        if ((event->mask & IN_CLOSE_WRITE) != 0 && event->len > 0) {
          fired.emplace(event->wd, std::string(event->name));
        }
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
  }

  bool registered(std::uint64_t serial) {
    std::lock_guard guard(lock);
    for (const auto& r : registrations) {
      if (r.serial == serial) return true;
    }
    return false;
  }

  void deliver(const Delivery& delivery) {
    // An earlier callback may have ended this registration.
    if (!registered(delivery.serial)) return;
    ns::AutoreleasePool pool;
    delivery.callback(this, const_cast<void*>(delivery.observer), delivery.name.get(), nullptr,
                      nil);
  }

  std::mutex lock;
  std::vector<Registration> registrations;
  std::uint64_t next_serial = 1;
  int inotify_fd = -1;
};

namespace {

CFNotificationCenter& checked(CFNotificationCenterRef center, const char* function) {
  if (center == nullptr || center != CFNotificationCenterGetDarwinNotifyCenter()) {
    center_error(function, "not a notification center");
  }
  return *center;
}

}  // namespace

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter() {
  static auto* center = new CFNotificationCenter;  // lives for the process
  return center;
}

void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callback, CFStringRef name, const void*,
                                     CFNotificationSuspensionBehavior) {
  constexpr const char* kFunction = "CFNotificationCenterAddObserver";
  auto& darwin = checked(center, kFunction);
  if (callback == nullptr) center_error(kFunction, "no callback");
  if (name == nil) center_error(kFunction, "the Darwin notify center needs a notification name");
  darwin.add(observer, callback, name, cf::notify_file_name(name_text(kFunction, name)));
}

void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer,
                                        CFNotificationName name, const void*) {
  constexpr const char* kFunction = "CFNotificationCenterRemoveObserver";
  auto& darwin = checked(center, kFunction);
  std::optional<std::string> file_name;
  if (name != nil) file_name = cf::notify_file_name(name_text(kFunction, name));
  darwin.remove(observer, file_name);
}

void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer) {
  checked(center, "CFNotificationCenterRemoveEveryObserver").remove(observer, std::nullopt);
}

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFNotificationName name,
                                          const void*, CFDictionaryRef, Boolean) {
  constexpr const char* kFunction = "CFNotificationCenterPostNotification";
  checked(center, kFunction);
  if (name == nil) center_error(kFunction, "no notification name");
  cf::post_darwin_notification(name_text(kFunction, name));
}
