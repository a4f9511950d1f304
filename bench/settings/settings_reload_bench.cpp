// The settings change crossing two processes: the time from the change
// notification's post in one process to the running app having reloaded
// (its next view drawn by the new settings), and the same from the user's
// flip of the pane's switch (write and post included).
//
// The app is this process, with the built library loaded from the staged
// device root by the app model's tweak loader; the other process is forked
// before the app starts and changes the settings on request, answering with
// the monotonic time at which its change began. Each iteration toggles
// `enabled` and waits in the app's main run loop until a new view's white
// background comes out as the new setting says. The time includes waking
// this process through the answering pipe, so it is an upper bound.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

#include "hosts/gmail/host_app.h"
#include "hosts/settings/settings_app.h"
#include "platform/corefoundation/cf_notification_center.h"
#include "platform/corefoundation/run_loop.h"
#include "platform/coregraphics/geometry.h"
#include "platform/device/device_paths.h"
#include "platform/foundation/foundation.h"

namespace {

using objc::msg;
namespace fs = std::filesystem;

std::int64_t now_ns() {
  timespec at{};
  clock_gettime(CLOCK_MONOTONIC, &at);
  return std::int64_t{at.tv_sec} * 1'000'000'000 + at.tv_nsec;
}

// Requests to the other process: 'p' or 'f' (post only, or flip the pane's
// switch), then '0' or '1' (the new value of `enabled`).
void serve_changes(int requests, int answers) {
  ns::AutoreleasePool outer;
  host::SettingsApp settings;
  settings.launch();
  host::PageResult pane = settings.open_pane("tenebrasettings");
  if (!pane.page) std::_Exit(2);
  const host::Cell enabled = *pane.page->switch_for_key("enabled");
  char request[2];
  while (::read(requests, request, 2) == 2) {
    ns::AutoreleasePool pool;
    const bool on = request[1] == '1';
    std::int64_t began = 0;
    if (request[0] == 'f') {
      began = now_ns();
      settings.flip(*pane.page, enabled, on);
    } else {
      id file = msg<id>(objc_getClass("NSMutableDictionary"), "dictionary");
      msg<void>(file, "setObject:forKey:", ns::boolean(on), ns::string("enabled"));
      ns::write_property_list(
          file, "/var/mobile/Library/Preferences/com.kestrow.tenebrasettings.plist", true);
      began = now_ns();
      CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                           NSSTR("com.kestrow.tenebrasettings/settingschanged"),
                                           nullptr, nullptr, true);
    }
    if (::write(answers, &began, sizeof began) != sizeof began) break;
  }
  std::_Exit(0);
}

struct Processes {
  std::string root;
  int requests = -1;
  int answers = -1;
  host::HostApp app;
  bool enabled = true;

  Processes() {
    ns::AutoreleasePool pool;
    root = (fs::temp_directory_path() / ("tenebra_reload_" + std::to_string(::getpid()))).string();
    fs::create_directories(root + "/var/mobile/Library/Preferences");
    fs::create_directory_symlink(fs::path(TENEBRA_DEVICE_ROOT) / "Library", root + "/Library");
    device::set_root(root);
    int to_child[2];
    int from_child[2];
    if (::pipe(to_child) != 0 || ::pipe(from_child) != 0) std::abort();
    if (::fork() == 0) {
      ::close(to_child[1]);
      ::close(from_child[0]);
      serve_changes(to_child[0], from_child[1]);
    }
    ::close(to_child[0]);
    ::close(from_child[1]);
    requests = to_child[1];
    answers = from_child[0];
    app.launch();
  }

  // Closing the requests ends the other process.
  ~Processes() {
    ::close(requests);
    ::close(answers);
    ::wait(nullptr);
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }

  // Whether a new view of the app gets the theme's black for white.
  bool themed() {
    ns::AutoreleasePool pool;
    id root_view = msg<id>(msg<id>(app.window(), "rootViewController"), "view");
    objc::Ref view = objc::Ref::adopt(msg<id>(msg<id>(objc_getClass("UIView"), "alloc"),
                                              "initWithFrame:", CGRectMake(0, 0, 10, 10)));
    msg<void>(root_view, "addSubview:", view.get());
    msg<void>(
        view, "setBackgroundColor:",
        msg<id>(objc_getClass("UIColor"), "colorWithRed:green:blue:alpha:", 1.0, 1.0, 1.0, 1.0));
    const bool black =
        ns::utf8(msg<id>(objc_getClass("UIColor"),
                         "km_hexStringFromColor:", msg<id>(view, "backgroundColor"))) == "#000000";
    msg<void>(view, "removeFromSuperview");
    return black;
  }

  // One change through the other process; the seconds from its start to
  // the app's reload, or nothing when the app did not reload.
  std::optional<double> change(char how) {
    enabled = !enabled;
    const char request[2] = {how, enabled ? '1' : '0'};
    std::int64_t began = 0;
    if (::write(requests, request, 2) != 2 ||
        ::read(answers, &began, sizeof began) != sizeof began) {
      return std::nullopt;
    }
    const bool reloaded = cf::main_run_loop().run_until([&] { return themed() == enabled; },
                                                        std::chrono::seconds(10));
    if (!reloaded) return std::nullopt;
    return static_cast<double>(now_ns() - began) / 1e9;
  }
};

Processes& processes() {
  static Processes p;
  return p;
}

void run(benchmark::State& state, char how) {
  Processes& p = processes();
  for (auto _ : state) {
    const std::optional<double> seconds = p.change(how);
    if (!seconds) {
      state.SkipWithError("the app did not reload");
      break;
    }
    state.SetIterationTime(*seconds);
  }
}

void BM_PostToReload(benchmark::State& state) { run(state, 'p'); }
BENCHMARK(BM_PostToReload)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_FlipToReload(benchmark::State& state) { run(state, 'f'); }
BENCHMARK(BM_FlipToReload)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
