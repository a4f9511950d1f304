// The theme's settings: four Booleans that steer it, one row each in
// kSettingRows, which the loader, the defaults and the tests all read. They
// are process-wide, written only by the settings loader on the main thread,
// and read by the rules at the moment of use (never copied).
#pragma once

#include <array>

#include "platform/corefoundation/cf_notification_center.h"

namespace tenebra {

struct Settings {
  // One byte each: zero is false, anything else true.
  unsigned char enabled;
  unsigned char enableDarkKeyboard;
  unsigned char colorEmail;
  unsigned char noctisIntegration;
};

// One setting: its key in the settings file, its value when the file has
// none, and the field that holds it.
struct SettingRow {
  const char* key;
  bool default_value;
  unsigned char Settings::*field;
};

inline constexpr std::array<SettingRow, 4> kSettingRows = {{
    {"enabled", true, &Settings::enabled},
    {"enableDarkKeyboard", true, &Settings::enableDarkKeyboard},
    {"colorEmail", true, &Settings::colorEmail},
    {"noctisIntegration", false, &Settings::noctisIntegration},
}};

// Every setting at its default.
constexpr Settings default_settings() {
  Settings defaults{};
  for (const SettingRow& row : kSettingRows) defaults.*row.field = row.default_value ? 1 : 0;
  return defaults;
}

extern Settings settings;

inline constexpr const char* kSettingsDomain = "com.kestrow.tenebrasettings";
inline constexpr const char* kSettingsPath =
    "/var/mobile/Library/Preferences/com.kestrow.tenebrasettings.plist";
inline constexpr const char* kSettingsChangedNotification =
    "com.kestrow.tenebrasettings/settingschanged";
inline constexpr const char* kNoctisPath =
    "/var/mobile/Library/Preferences/com.laughingquoll.noctis.plist";
inline constexpr const char* kNoctisDarkModeKey = "LQDDarkModeEnabled";

// Reads the settings file into `settings`, rebuilds the palette and applies
// the Noctis rule. Missing or unreadable data never changes a setting.
void load_settings();

// The change-notification callback: runs the loader, ignoring its arguments.
void settings_changed(CFNotificationCenterRef center, void* observer, CFNotificationName name,
                      const void* object, CFDictionaryRef user_info);

}  // namespace tenebra
