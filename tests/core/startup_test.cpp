// The library loaded into the host app model as the substrate loads it: its
// initialisers, the rules they install and the settings change that reaches
// it from another process. Every case runs in a fresh child process, since
// the library is loaded once per process and never unloaded.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "hosts/gmail/host_app.h"
#include "platform/corefoundation/cf_notification_center.h"
#include "platform/corefoundation/run_loop.h"
#include "platform/coregraphics/geometry.h"
#include "platform/device/device_paths.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/property_list.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/uikit/ui_appearance.h"
#include "platform/uikit/ui_color.h"
#include "toolkit/color/color.h"
#include "toolkit/color/platform_color.h"

namespace {

using objc::msg;
namespace fs = std::filesystem;

constexpr const char* kSettingsPath =
    "/var/mobile/Library/Preferences/com.kestrow.tenebrasettings.plist";
constexpr const char* kTweaks = "/Library/MobileSubstrate/DynamicLibraries";

// Stops the child with a message when a check fails.
void require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "failed: %s\n", what);
  std::exit(1);
}

void write_settings(std::initializer_list<std::pair<const char*, bool>> entries) {
  ns::AutoreleasePool pool;
  fs::create_directories(device::resolve("/var/mobile/Library/Preferences"));
  id dictionary = msg<id>(objc_getClass("NSMutableDictionary"), "dictionary");
  for (const auto& [key, value] : entries) {
    msg<void>(dictionary, "setObject:forKey:", ns::boolean(value), ns::string(key));
  }
  require(ns::write_property_list(dictionary, kSettingsPath, true), "settings written");
}

// Lays the built library and its filter into the device root's tweak folder.
void install_tweak(const char* name = "Tenebra", const char* filter = TENEBRA_FILTER) {
  const fs::path folder = device::resolve(kTweaks);
  fs::create_directories(folder);
  fs::copy_file(TENEBRA_DYLIB, folder / (std::string(name) + ".dylib"));
  fs::copy_file(filter, folder / (std::string(name) + ".plist"));
}

// The background a fresh view ends up with when the app sets opaque white,
// given as red, green and blue 1.0, on it inside the inbox's tree.
id background_after_white(const host::HostApp& app) {
  id root = msg<id>(msg<id>(app.window(), "rootViewController"), "view");
  id view = msg<id>(msg<id>(objc_getClass("UIView"), "alloc"),
                    "initWithFrame:", CGRectMake(0, 0, 10, 10));
  msg<void>(root, "addSubview:", view);
  msg<void>(view, "release");
  msg<void>(
      view, "setBackgroundColor:",
      msg<id>(objc_getClass("UIColor"), "colorWithRed:green:blue:alpha:", 1.0, 1.0, 1.0, 1.0));
  return msg<id>(view, "backgroundColor");
}

id exported_color(const char* name) {
  void* symbol = dlsym(RTLD_DEFAULT, name);
  require(symbol != nullptr, "the palette is exported");
  return *static_cast<id*>(symbol);
}

std::string color_text(id color) {
  return std::string(toolkit::color_text(*toolkit::color_of(color)).view());
}

// Runs a child's checks, then ends the child once everything they made is
// released, so that a sanitizer build reports only what really leaked.
template <typename Body>
[[noreturn]] void in_child(Body body) {
  body();
  std::exit(0);
}

class Startup : public ::testing::Test {
 protected:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(Startup, WhiteViewTurnsBlackInTheThemedApp) {
  EXPECT_EXIT(in_child([] {
                device::TemporaryRoot root;
                ns::AutoreleasePool pool;
                install_tweak();
                host::HostApp app;
                app.launch();
                require(app.tweaks().size() == 1 && app.tweaks()[0].handle != nullptr, "loaded");
                id background = background_after_white(app);
                require(background == exported_color("bgColor"), "the view gets bgColor");
                require(color_text(background) == "#000000", "bgColor is black");
              }),
              ::testing::ExitedWithCode(0), "");
}

TEST_F(Startup, AppearanceDefaultsOnlyWhenTheFirstLoadFindsTheThemeOn) {
  EXPECT_EXIT(in_child([] {
                device::TemporaryRoot root;
                ns::AutoreleasePool pool;
                install_tweak();
                host::HostApp app;
                app.launch();
                const auto settings = ui::appearance_settings(objc_getClass("UITextField"));
                require(settings.size() == 2, "text fields get attributes and a text colour");
                const auto bar = ui::appearance_settings(objc_getClass("UINavigationBar"));
                require(bar.size() == 2, "navigation bars get a bar tint and opacity");
                id field = msg<id>(objc_getClass("UITextField"), "new");
                require(msg<id>(field, "textColor") == exported_color("textColor"),
                        "new text fields take the theme's text colour");
                msg<void>(field, "release");
              }),
              ::testing::ExitedWithCode(0), "");

  EXPECT_EXIT(in_child([] {
                device::TemporaryRoot root;
                ns::AutoreleasePool pool;
                install_tweak();
                write_settings({{"enabled", false}});
                host::HostApp app;
                app.launch();
                require(ui::appearance_settings(objc_getClass("UITextField")).empty(),
                        "no appearance default while the theme is off");
                require(color_text(background_after_white(app)) == "#FFFFFF",
                        "the rule passes the colour on while off");

                // The rules are installed all the same: switching the theme on makes
                // them theme from their next call, still without appearance defaults.
                write_settings({{"enabled", true}});
                CFNotificationCenterPostNotification(
                    CFNotificationCenterGetDarwinNotifyCenter(),
                    ns::string("com.kestrow.tenebrasettings/settingschanged"), nullptr, nullptr,
                    true);
                const bool themed = cf::main_run_loop().run_until(
                    [&] { return color_text(background_after_white(app)) == "#000000"; },
                    std::chrono::seconds(10));
                require(themed, "the reload switches the rules on");
                require(ui::appearance_settings(objc_getClass("UITextField")).empty(),
                        "the appearance set-up is not repeated");
              }),
              ::testing::ExitedWithCode(0), "");
}

TEST_F(Startup, LoaderLoadsOnlyTweaksWhoseFilterNamesTheApp) {
  EXPECT_EXIT(
      in_child([] {
        device::TemporaryRoot root;
        ns::AutoreleasePool pool;
        install_tweak();
        host::HostOptions options;
        options.bundle_identifier = "com.apple.mobilemail";
        options.executable_name = "MobileMail";
        host::HostApp app(options);
        app.launch();
        require(app.tweaks().empty(), "nothing loaded into another app");
        require(dlsym(RTLD_DEFAULT, "bgColor") == nullptr, "the library is not in the process");
        require(color_text(background_after_white(app)) == "#FFFFFF", "the app is not themed");
      }),
      ::testing::ExitedWithCode(0), "");
}

// An app version without some of the registry's classes.
void run_host_lacking_classes() {
  device::TemporaryRoot root;
  ns::AutoreleasePool pool;
  install_tweak();
  host::HostOptions options;
  options.omitted_classes = {"GBTNavigationBar", "ThreadCellFrontView", "SearchZeroStateView",
                             "MDCFloatingButton"};
  host::HostApp app(options);
  app.launch();
  require(objc_getClass("SearchZeroStateView") == Nil, "this app version lacks it");
  require(color_text(background_after_white(app)) == "#000000", "the other entries are installed");

  // A listed class that arrives after the rule's first call is still tested.
  objc::ClassDefinition("SearchZeroStateView", objc_getClass("UIView")).finish();
  id late = msg<id>(objc_getClass("SearchZeroStateView"), "new");
  msg<void>(
      late, "setBackgroundColor:",
      msg<id>(objc_getClass("UIColor"), "colorWithRed:green:blue:alpha:", 0.2, 0.4, 0.6, 1.0));
  require(msg<id>(late, "backgroundColor") == exported_color("bgColor"),
          "a late class's views get its class colour");
  msg<void>(late, "release");
}

TEST_F(Startup, HostLackingRegistryClassesIsThemedWhereItCanBe) {
  EXPECT_EXIT(in_child(run_host_lacking_classes), ::testing::ExitedWithCode(0), "");
}

TEST_F(Startup, SettingsChangeFromAnotherProcessReachesTheRunningApp) {
  EXPECT_EXIT(in_child([] {
                device::TemporaryRoot root;
                ns::AutoreleasePool pool;
                install_tweak();
                host::HostApp app;
                app.launch();
                require(color_text(background_after_white(app)) == "#000000", "themed at first");

                // Another process, as the settings pane is, writes and posts.
                const pid_t pane = fork();
                if (pane == 0) {
                  write_settings({{"enabled", false}});
                  CFNotificationCenterPostNotification(
                      CFNotificationCenterGetDarwinNotifyCenter(),
                      ns::string("com.kestrow.tenebrasettings/settingschanged"), nullptr, nullptr,
                      true);
                  _exit(0);
                }
                int status = 0;
                waitpid(pane, &status, 0);
                require(WIFEXITED(status) && WEXITSTATUS(status) == 0, "the pane's process posted");

                const bool plain = cf::main_run_loop().run_until(
                    [&] { return color_text(background_after_white(app)) == "#FFFFFF"; },
                    std::chrono::seconds(10));
                require(plain, "the next background passes unchanged");
              }),
              ::testing::ExitedWithCode(0), "");
}

}  // namespace
