// `tenebra settings` run as a user runs it, and the settings change crossing
// from its process to a running app: the app model, with the library loaded,
// waits in its main loop while the program flips a switch in another
// process; the app reloads and its next view is drawn accordingly.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "hosts/gmail/host_app.h"
#include "platform/corefoundation/run_loop.h"
#include "platform/coregraphics/geometry.h"
#include "platform/device/device_paths.h"
#include "platform/foundation/foundation.h"
#include "tests/support/program_run.h"
#include "tests/support/scratch_directory.h"

namespace {

using objc::msg;
namespace fs = std::filesystem;

using test_support::Outcome;
using test_support::slurp;

// A device root of its own with the built package laid in.
class SettingsProgram : public testing::Test {
 protected:
  SettingsProgram() {
    fs::create_directories(root_ / "var/mobile/Library/Preferences");
    fs::create_directory_symlink(fs::path(TENEBRA_DEVICE_ROOT) / "Library", root_ / "Library");
  }

  Outcome run(std::vector<std::string> arguments, const char* command = "settings") {
    arguments.insert(arguments.begin(), {command, "--root", root_.string()});
    return test_support::run_program(TENEBRA_PROGRAM, arguments, root_);
  }

  test_support::ScratchDirectory scratch_{"tenebra_settings"};
  const fs::path& root_ = scratch_.path();
};

struct Use {
  std::vector<std::string> arguments;
  int status;
  const char* out;  // a line the output holds
  const char* err;  // a text the error output holds
};

TEST_F(SettingsProgram, ShowsTheRootPageAndDoesWhatItIsToldOrSaysWhyNot) {
  const std::string package = "opened https://repo.kestrow.com/package/com.kestrow.tenebra\n";
  const Use uses[] = {
      {{}, 0, "  Enabled                  on    enabled\n", ""},
      {{"show"}, 0, "  Noctis Integration       off   noctisIntegration\n", ""},
      {{"set", "colorEmail", "off"}, 0, "colorEmail off\n", ""},
      {{"set", "enableDarkKeyboard", "off", "show"},
       0,
       "  Dark Keyboard            off   enableDarkKeyboard\n",
       ""},
      {{"--installed", "twitter", "tweetbot", "tap", "follow on twitter"},
       0,
       "opened tweetbot:///user_profile/kestrowmobile\n",
       ""},
      {{"page", "My Tweaks"}, 0, "  Tenebra                  button\n", ""},
      {{"page", "My Tweaks", "tap", "Tenebra"}, 0, package.c_str(), ""},
      {{"set", "enabled", "maybe"}, 2, "", "takes on or off, not \"maybe\""},
      {{"set", "enabled"}, 2, "", "takes on or off"},
      {{"frobnicate"}, 2, "", "unknown argument \"frobnicate\""},
      {{"set", "noSuchKey", "on"}, 1, "", "has no switch with the key \"noSuchKey\""},
      {{"tap", "Enabled"}, 1, "", "has no button labelled \"Enabled\""},
      {{"page", "Donate"}, 1, "", "has no link to a page \"Donate\""},
      {{"tap", "Nope", "set", "enabled", "off"}, 1, "", "no button"},
  };
  for (const Use& use : uses) {
    std::string shown;
    for (const auto& word : use.arguments) shown += word + " ";
    SCOPED_TRACE(shown);
    const Outcome o = run(use.arguments);
    EXPECT_EQ(o.status, use.status) << o.err;
    EXPECT_NE(o.out.find(use.out), std::string::npos) << o.out;
    EXPECT_NE(o.err.find(use.err), std::string::npos) << o.err;
  }
  // The failed command stopped the ones after it.
  EXPECT_EQ(slurp(root_ / "var/mobile/Library/Preferences/com.kestrow.tenebrasettings.plist")
                .find("<key>enabled</key>"),
            std::string::npos);

  fs::remove_all(root_ / "var/mobile/Library/Preferences");
  const Outcome unwritable = run({"set", "enabled", "off"});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find("error: Tenebra: cannot store enabled"), std::string::npos);
  EXPECT_EQ(run({"--root", (root_ / "missing").string()}).status, 2);
}

TEST_F(SettingsProgram, TheConsoleLoadsThePaneAsTheSettingsAppDoes) {
  const Outcome o = run(
      {"-e", "b = [NSBundle bundleWithPath:@\"/Library/PreferenceBundles/tenebrasettings.bundle\"]",
       "-e", "[b load]", "-e", "c = [[b principalClass] new]", "-e", "[[c specifiers] count]", "-e",
       "[c readPreferenceValue:[[c specifiers] objectAtIndex:1]]", "-e",
       "[[NSBundle bundleForClass:[c class]] bundlePath]"},
      "console");
  EXPECT_EQ(o.out, "YES\n12\nYES\n\"/Library/PreferenceBundles/tenebrasettings.bundle\"\n");
  EXPECT_EQ(o.status, 0) << o.err;
}

// The background a new view of the running app gets when set to white.
std::string background_after_white(const host::HostApp& app) {
  ns::AutoreleasePool pool;
  id root = msg<id>(msg<id>(app.window(), "rootViewController"), "view");
  objc::Ref view = objc::Ref::adopt(msg<id>(msg<id>(objc_getClass("UIView"), "alloc"),
                                            "initWithFrame:", CGRectMake(0, 0, 10, 10)));
  msg<void>(root, "addSubview:", view.get());
  msg<void>(
      view, "setBackgroundColor:",
      msg<id>(objc_getClass("UIColor"), "colorWithRed:green:blue:alpha:", 1.0, 1.0, 1.0, 1.0));
  return ns::utf8(msg<id>(objc_getClass("UIColor"),
                          "km_hexStringFromColor:", msg<id>(view, "backgroundColor")));
}

TEST_F(SettingsProgram, TheRunningAppReloadsWhenAnotherProcessTurnsTheThemeOff) {
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t app_process = ::fork();
  ASSERT_GE(app_process, 0);
  if (app_process == 0) {
    ::close(ready[0]);
    device::set_root(root_.string());
    host::HostApp app;
    app.launch();
    const bool themed = background_after_white(app) == "#000000";
    if (::write(ready[1], themed ? "y" : "n", 1) != 1) std::_Exit(4);
    ::close(ready[1]);
    const bool reloaded = cf::main_run_loop().run_until(
        [&] { return background_after_white(app) == "#FFFFFF"; }, std::chrono::seconds(20));
    std::_Exit(themed && reloaded ? 0 : 3);
  }
  ::close(ready[1]);
  char themed = 0;
  ASSERT_EQ(::read(ready[0], &themed, 1), 1);
  ::close(ready[0]);
  EXPECT_EQ(themed, 'y') << "the app is themed before the change";

  const Outcome o = run({"set", "enabled", "off"});
  EXPECT_EQ(o.status, 0) << o.err;
  int status = 0;
  ASSERT_EQ(::waitpid(app_process, &status, 0), app_process);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the app reloaded";
}

}  // namespace
