// The Darwin notify center: notifications by name, delivered on the main run
// loop, within one process and from another one.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/corefoundation/cf_notification_center.h"
#include "platform/corefoundation/darwin_notify.h"
#include "platform/device/device_paths.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/corefoundation/run_loop.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

const std::string kSettingsChanged = "com.kestrow.tenebrasettings/settingschanged";

struct Recorder {
  int deliveries = 0;
  bool off_main_thread = false;
  bool got_object_or_info = false;
  std::string last_name;
  std::function<void()> on_delivery;
};

void record(CFNotificationCenterRef, void* observer, CFNotificationName name, const void* object,
            CFDictionaryRef userInfo) {
  auto* recorder = static_cast<Recorder*>(observer);
  ++recorder->deliveries;
  recorder->off_main_thread |= gettid() != getpid();
  recorder->got_object_or_info |= object != nullptr || userInfo != nil;
  recorder->last_name = ns::utf8(name);
  if (recorder->on_delivery) recorder->on_delivery();
}

CFNotificationCenterRef center() { return CFNotificationCenterGetDarwinNotifyCenter(); }

void post(const std::string& name) {
  ns::AutoreleasePool pool;
  CFNotificationCenterPostNotification(center(), ns::string(name), nullptr, nil, true);
}

bool run_until(const std::function<bool()>& done) {
  return cf::main_run_loop().run_until(done, 10s);
}

// Each test has a device root of its own, shared with the processes it starts.
class DarwinNotifyCenter : public ::testing::Test {
 protected:
  void SetUp() override {
    char root[] = "/tmp/tenebra-notify-XXXXXX";
    ASSERT_NE(mkdtemp(root), nullptr);
    root_ = root;
    previous_root_ = device::root();
    device::set_root(root);
    setenv("TENEBRA_DEVICE_ROOT", root, 1);  // for the processes it starts
  }

  void TearDown() override {
    for (auto& recorder : recorders_) CFNotificationCenterRemoveEveryObserver(center(), &recorder);
    std::filesystem::remove_all(root_);
    unsetenv("TENEBRA_DEVICE_ROOT");
    device::set_root(previous_root_);
  }

  std::string previous_root_;

  Recorder& observe(
      const std::string& name, Recorder* recorder = nullptr,
      CFNotificationSuspensionBehavior behaviour = CFNotificationSuspensionBehaviorCoalesce) {
    if (recorder == nullptr) recorder = &recorders_.emplace_back();
    ns::AutoreleasePool pool;
    CFNotificationCenterAddObserver(center(), recorder, record, ns::string(name), nullptr,
                                    behaviour);
    return *recorder;
  }

  // Posts a sentinel and runs the loop until it arrives: the kernel keeps
  // events in order, so everything posted before has been delivered by then.
  void settle() {
    if (sentinel_ == nullptr) sentinel_ = &observe("sentinel");
    int before = sentinel_->deliveries;
    post("sentinel");
    ASSERT_TRUE(run_until([&] { return sentinel_->deliveries > before; }));
  }

  std::string root_;
  std::deque<Recorder> recorders_;
  Recorder* sentinel_ = nullptr;
};

TEST_F(DarwinNotifyCenter, DeliversOnlyWhileTheMainRunLoopRunsAndOnTheMainThread) {
  Recorder& observer = observe(kSettingsChanged);
  std::thread([&] {
    ns::AutoreleasePool pool;
    // An object and a payload never travel with a Darwin notification.
    CFNotificationCenterPostNotification(center(), ns::string(kSettingsChanged), &observer,
                                         ns::string("payload"), false);
  }).join();
  EXPECT_EQ(observer.deliveries, 0);
  ASSERT_TRUE(run_until([&] { return observer.deliveries > 0; }));
  EXPECT_FALSE(observer.off_main_thread);
  EXPECT_FALSE(observer.got_object_or_info);
  EXPECT_EQ(observer.last_name, kSettingsChanged);
}

TEST_F(DarwinNotifyCenter, PostsCloseTogetherMayMergeButTheLastIsNeverLost) {
  Recorder& observer = observe(kSettingsChanged);
  for (int i = 0; i < 5; ++i) post(kSettingsChanged);
  settle();
  EXPECT_GE(observer.deliveries, 1);
  EXPECT_LE(observer.deliveries, 5);
  // A post after a delivery is never merged into it.
  for (int round = 1; round <= 3; ++round) {
    int before = observer.deliveries;
    post(kSettingsChanged);
    ASSERT_TRUE(run_until([&] { return observer.deliveries > before; })) << "round " << round;
  }
}

TEST_F(DarwinNotifyCenter, EachNameReachesOnlyItsOwnObservers) {
  // Escapes that look alike, names that are no file names, names too long
  // for one file name.
  std::vector<std::string> names = {"a/b", "a%2Fb",   "a%2fb",       "", ".", "..",
                                    "n-a", "ünïcode", "../../escape"};
  names.push_back(std::string(84, '/'));
  names.push_back(std::string(300, 'x'));
  names.push_back(std::string(300, 'x') + "y");
  std::vector<Recorder*> observers;
  for (const auto& name : names) observers.push_back(&observe(name));
  for (std::size_t i = 0; i < names.size(); ++i) {
    post(names[i]);
    settle();
    for (std::size_t j = 0; j < names.size(); ++j) {
      EXPECT_EQ(observers[j]->deliveries, j <= i ? 1 : 0)
          << "posted \"" << names[i] << "\", observed \"" << names[j] << "\"";
    }
  }
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root_)) {
    if (entry.is_directory()) continue;
    EXPECT_EQ(entry.path().parent_path(), cf::notify_directory());
  }
}

TEST_F(DarwinNotifyCenter, EndedRegistrationsAreNotCalledEvenWhenAlreadyDue) {
  ns::AutoreleasePool pool;
  Recorder& kept = observe("first");
  Recorder& ended = observe("first");
  observe("second", &ended);
  CFNotificationCenterRemoveObserver(center(), &ended, ns::string("first"), nullptr);
  post("first");
  post("second");
  settle();
  EXPECT_EQ(kept.deliveries, 1);
  EXPECT_EQ(ended.deliveries, 1);
  EXPECT_EQ(ended.last_name, "second");

  // No name ends every registration of the observer.
  CFNotificationCenterRemoveObserver(center(), &ended, nil, nullptr);
  // An earlier callback may end a registration whose delivery is due.
  Recorder& later = observe("first");
  kept.on_delivery = [&] { CFNotificationCenterRemoveEveryObserver(center(), &later); };
  post("first");
  post("second");
  settle();
  EXPECT_EQ(kept.deliveries, 2);
  EXPECT_EQ(ended.deliveries, 1);
  EXPECT_EQ(later.deliveries, 0);
}

TEST_F(DarwinNotifyCenter, OnePostCallsEachRegistrationOnceWhateverItsSuspensionBehaviour) {
  std::vector<Recorder*> observers;
  for (auto behaviour :
       {CFNotificationSuspensionBehaviorDrop, CFNotificationSuspensionBehaviorCoalesce,
        CFNotificationSuspensionBehaviorHold, CFNotificationSuspensionBehaviorDeliverImmediately}) {
    observers.push_back(&observe("once", nullptr, behaviour));
  }
  // The same observer, callback and name again is the same registration.
  observe("once", observers[0]);
  post("once");
  settle();
  for (Recorder* observer : observers) EXPECT_EQ(observer->deliveries, 1);
}

TEST_F(DarwinNotifyCenter, APostNeverFollowsALinkPlantedInTheNotifyDirectory) {
  std::filesystem::create_directories(cf::notify_directory());
  std::string outside = root_ + "/outside";
  std::filesystem::create_symlink(outside,
                                  cf::notify_directory() + "/" + cf::notify_file_name("victim"));
  EXPECT_FALSE(cf::post_darwin_notification("victim"));
  EXPECT_FALSE(std::filesystem::exists(outside));
}

TEST_F(DarwinNotifyCenter, PostsFromAnotherProcessReachThisOne) {
  Recorder& observer = observe(kSettingsChanged);
  std::string program = NOTIFY_POSTER, name = kSettingsChanged, count = "3";
  char* argv[] = {program.data(), name.data(), count.data(), nullptr};
  pid_t poster = -1;
  ASSERT_EQ(posix_spawn(&poster, argv[0], nullptr, nullptr, argv, environ), 0);
  EXPECT_TRUE(run_until([&] { return observer.deliveries > 0; }));
  int status = -1;
  ASSERT_EQ(waitpid(poster, &status, 0), poster);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  settle();
  EXPECT_LE(observer.deliveries, 3);
  EXPECT_FALSE(observer.off_main_thread);
}

TEST(DarwinNotifyCenterDeathTest, MissingArgumentsStopTheProcess) {
  ns::AutoreleasePool pool;
  EXPECT_DEATH(CFNotificationCenterAddObserver(center(), nullptr, record, nil, nullptr,
                                               CFNotificationSuspensionBehaviorCoalesce),
               "needs a notification name");
  EXPECT_DEATH(CFNotificationCenterPostNotification(center(), nil, nullptr, nil, true),
               "no notification name");
  EXPECT_DEATH(CFNotificationCenterPostNotification(nullptr, ns::string("n"), nullptr, nil, true),
               "not a notification center");
}

}  // namespace
