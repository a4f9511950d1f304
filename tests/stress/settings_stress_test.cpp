// The settings file and its notification across two real processes under
// load: this process plays the app, with the library's loader observing the
// change notification, and another one plays the pane (settings_writer).
// Each case prints its figures. TENEBRA_STRESS_CHANGES sets how many changes
// the first case makes (10,000 unless set; the sanitizer runs make fewer, as
// each change waits for the disk twice).
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/settings.h"
#include "platform/corefoundation/cf_notification_center.h"
#include "platform/device/device_paths.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/property_list.h"
#include "platform/objc/message.h"
#include "platform/corefoundation/run_loop.h"
#include "toolkit/color/ui_color_kestrow.h"

extern char** environ;

namespace {

using objc::msg;
using namespace std::chrono_literals;

// What the app's process saw of the file at each notification.
struct Observations {
  long deliveries = 0;
  long partial = 0;    // a file that did not read as a dictionary
  long backwards = 0;  // an older change after a newer one
  long last_change = -1;
};

void observe_file(CFNotificationCenterRef, void* observer, CFNotificationName, const void*,
                  CFDictionaryRef) {
  auto& seen = *static_cast<Observations*>(observer);
  ++seen.deliveries;
  ns::AutoreleasePool pool;
  id file = ns::read_property_list(tenebra::kSettingsPath);
  if (!msg<BOOL>(file, "isKindOfClass:", objc_getClass("NSDictionary"))) {
    ++seen.partial;
    return;
  }
  const long change =
      msg<long long>(msg<id>(file, "objectForKey:", ns::string("change")), "longLongValue");
  if (change < seen.last_change) ++seen.backwards;
  seen.last_change = change;
}

class SettingsStress : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { toolkit::register_color_category(); }

  void SetUp() override {
    setenv("TENEBRA_DEVICE_ROOT", root_.host_path().c_str(), 1);
    std::filesystem::create_directories(device::resolve("/var/mobile/Library/Preferences"));
    tenebra::settings = {};
    ns::AutoreleasePool pool;
    id name = ns::string(tenebra::kSettingsChangedNotification);
    CFNotificationCenterAddObserver(center(), nullptr, tenebra::settings_changed, name, nullptr,
                                    CFNotificationSuspensionBehaviorCoalesce);
    CFNotificationCenterAddObserver(center(), &seen_, observe_file, name, nullptr,
                                    CFNotificationSuspensionBehaviorCoalesce);
  }

  void TearDown() override {
    CFNotificationCenterRemoveEveryObserver(center(), nullptr);
    CFNotificationCenterRemoveEveryObserver(center(), &seen_);
    unsetenv("TENEBRA_DEVICE_ROOT");
  }

  static CFNotificationCenterRef center() { return CFNotificationCenterGetDarwinNotifyCenter(); }

  // Runs settings_writer with these arguments while the main run loop
  // delivers, until it has exited and its last change has been seen.
  // Returns the seconds it took.
  double run_writer(long changes, long storm) {
    std::string count = std::to_string(changes), posts = std::to_string(storm);
    char* argv[] = {const_cast<char*>(SETTINGS_WRITER), count.data(), posts.data(), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t writer = 0;
    EXPECT_EQ(posix_spawn(&writer, SETTINGS_WRITER, nullptr, nullptr, argv, environ), 0);
    int status = -1;
    // The loop waits for deliveries only, so the writer's exit is polled.
    const auto deadline = start + 300s;
    bool done = false;
    while (!done && std::chrono::steady_clock::now() < deadline) {
      cf::main_run_loop().run_once(20ms);
      if (status == -1 && waitpid(writer, &status, WNOHANG) == 0) status = -1;
      done = status != -1 && seen_.last_change == changes;
    }
    if (status == -1) {
      kill(writer, SIGKILL);
      waitpid(writer, &status, 0);
    }
    EXPECT_TRUE(done) << "last change seen: " << seen_.last_change;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }

  device::TemporaryRoot root_;
  Observations seen_;
};

TEST_F(SettingsStress, TenThousandChangesAreEachReadWholeAndTheLastOneHolds) {
  const char* wanted = std::getenv("TENEBRA_STRESS_CHANGES");
  const long changes = wanted != nullptr ? std::atol(wanted) : 10'000;
  const double seconds = run_writer(changes, 0);
  EXPECT_EQ(seen_.partial, 0);
  EXPECT_EQ(seen_.backwards, 0);
  EXPECT_EQ(tenebra::settings.colorEmail, changes % 2);
  std::printf("%ld changes in %.1f s: %ld reloads, %ld partial files, %ld out of order\n",
              changes, seconds, seen_.deliveries, seen_.partial, seen_.backwards);
}

TEST_F(SettingsStress, AStormOfNotificationsCoalescesAndTheFinalReloadFollows) {
  constexpr long kStorm = 100'000;
  {
    ns::AutoreleasePool pool;
    id file = msg<id>(objc_getClass("NSMutableDictionary"), "dictionary");
    msg<void>(file, "setObject:forKey:", ns::boolean(false), ns::string("colorEmail"));
    msg<void>(file, "setObject:forKey:", ns::number(0), ns::string("change"));
    ASSERT_TRUE(ns::write_property_list(file, tenebra::kSettingsPath, true));
  }
  const double seconds = run_writer(1, kStorm);
  EXPECT_LT(seen_.deliveries, kStorm);
  EXPECT_EQ(seen_.partial, 0);
  EXPECT_EQ(tenebra::settings.colorEmail, 1);
  std::printf("%ld notifications and one change in %.1f s: %ld reloads\n", kStorm + 1, seconds,
              seen_.deliveries);
}

}  // namespace
