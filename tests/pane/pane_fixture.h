// A fresh device root with the built package in it and the Settings app
// model showing the pane's root page. The pane's code is loaded once per
// process (as on the device, loaded code stays); each test gets its own root,
// so its files start empty.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "hosts/settings/settings_app.h"
#include "platform/device/device_paths.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/property_list.h"

namespace pane_testing {

inline constexpr const char* kSettingsPath =
    "/var/mobile/Library/Preferences/com.kestrow.tenebrasettings.plist";
inline constexpr const char* kNotification = "com.kestrow.tenebrasettings/settingschanged";

class PaneTest : public testing::Test {
 protected:
  // `copy_bundle` lays out a copy of the pane's bundle that the test may
  // change; otherwise the built one is linked in.
  explicit PaneTest(bool copy_bundle = false);

  void SetUp() override;

  // The settings file's dictionary, or nil.
  id settings_file() const;
  // Whether the change notification was posted since the last call.
  bool posted();
  std::string host_path(const char* device_path) const { return device::resolve(device_path); }
  // Opens the pane afresh (a new root page) with these options.
  void relaunch(host::SettingsOptions options);

  ns::AutoreleasePool pool_;
  device::TemporaryRoot root_;
  std::optional<host::SettingsApp> app_;
  std::optional<host::SettingsPage> page_;
};

}  // namespace pane_testing
