// The theme's settings and palette. Four Booleans steer the theme; the
// palette holds its three colours. Both are process-wide, written only by the
// settings loader on the main thread, and read by the rules at the moment of
// use (never copied).
#pragma once

#include "platform/corefoundation/cf_notification_center.h"
#include "platform/objc/runtime.h"

namespace tenebra {

struct Settings {
  // One byte each: zero is false, anything else true.
  unsigned char enabled = 1;
  unsigned char enableDarkKeyboard = 1;
  unsigned char colorEmail = 1;
  unsigned char noctisIntegration = 0;
};

extern Settings settings;

inline constexpr const char* kSettingsDomain = "com.kestrow.tenebrasettings";
inline constexpr const char* kSettingsPath =
    "/var/mobile/Library/Preferences/com.kestrow.tenebrasettings.plist";
inline constexpr const char* kSettingsChangedNotification =
    "com.kestrow.tenebrasettings/settingschanged";
inline constexpr const char* kNoctisPath =
    "/var/mobile/Library/Preferences/com.laughingquoll.noctis.plist";
inline constexpr const char* kNoctisDarkModeKey = "LQDDarkModeEnabled";

inline constexpr const char* kBgColorHex = "#000000";
inline constexpr const char* kLighterBgColorHex = "#1B1B1B";
inline constexpr const char* kTextColorHex = "#cccccc";

// Reads the settings file into `settings`, rebuilds the palette and applies
// the Noctis rule. Missing or unreadable data never changes a setting.
void load_settings();

// The change-notification callback: runs the loader, ignoring its arguments.
void settings_changed(CFNotificationCenterRef center, void* observer, CFNotificationName name,
                      const void* object, CFDictionaryRef user_info);

}  // namespace tenebra

// The palette, exported as global data under these names. Empty until the
// first load; every load sets all three anew.
extern "C" {
extern __attribute__((visibility("default"))) id bgColor;
extern __attribute__((visibility("default"))) id lighterBgColor;
extern __attribute__((visibility("default"))) id textColor;
}
