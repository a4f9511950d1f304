// The settings loader: which fields a file changes, the palette it rebuilds,
// and the Noctis rule, over sequences of loads.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/palette.h"
#include "core/settings.h"
#include "platform/device/device_paths.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/property_list.h"
#include "platform/objc/message.h"
#include "toolkit/color/ui_color_kestrow.h"

namespace tenebra {
namespace {

using objc::msg;

class SettingsLoader : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { toolkit::register_color_category(); }

  void SetUp() override {
    settings = default_settings();
    std::filesystem::create_directories(device::resolve("/var/mobile/Library/Preferences"));
  }

  // Writes the settings file with these entries (values are objects).
  void write_settings(std::initializer_list<std::pair<const char*, id>> entries) {
    write(kSettingsPath, entries);
  }
  void write_noctis(std::initializer_list<std::pair<const char*, id>> entries) {
    write(kNoctisPath, entries);
  }
  static void write(const char* path, std::initializer_list<std::pair<const char*, id>> entries) {
    ns::AutoreleasePool pool;
    id dictionary = msg<id>(objc_getClass("NSMutableDictionary"), "dictionary");
    for (const auto& [key, value] : entries) {
      msg<void>(dictionary, "setObject:forKey:", value, ns::string(key));
    }
    ASSERT_TRUE(ns::write_property_list(dictionary, path, true));
  }
  static void write_raw(const char* path, const std::string& bytes) {
    std::ofstream(device::resolve(path), std::ios::binary) << bytes;
  }

  static std::string hex(id color) {
    ns::AutoreleasePool pool;
    return ns::utf8(msg<id>(objc_getClass("UIColor"), "km_hexStringFromColor:", color));
  }

  static Settings snapshot() { return settings; }

  device::TemporaryRoot root_;
  ns::AutoreleasePool pool_;
};

bool same(const Settings& a, const Settings& b) {
  for (const SettingRow& row : kSettingRows) {
    if (a.*row.field != b.*row.field) return false;
  }
  return true;
}

TEST_F(SettingsLoader, NoFileKeepsTheInitialValuesAndSetsThePalette) {
  load_settings();
  EXPECT_TRUE(same(settings, default_settings()));
  EXPECT_EQ(hex(bgColor), "#000000");
  EXPECT_EQ(hex(lighterBgColor), "#1B1B1B");
  EXPECT_EQ(hex(textColor), "#CCCCCC");
}

TEST_F(SettingsLoader, OnlyTheKeysInTheFileChange) {
  write_settings({{"colorEmail", ns::boolean(false)}, {"unrelated", ns::boolean(false)}});
  load_settings();
  EXPECT_EQ(settings.colorEmail, 0);
  EXPECT_EQ(settings.enabled, 1);
  EXPECT_EQ(settings.enableDarkKeyboard, 1);
  EXPECT_EQ(settings.noctisIntegration, 0);
}

TEST_F(SettingsLoader, EachKeyReachesItsOwnFieldOnly) {
  // The defaults are those of the rows; a file naming one key against its
  // default changes that field and no other.
  for (const SettingRow& row : kSettingRows) {
    SCOPED_TRACE(row.key);
    settings = default_settings();
    EXPECT_EQ(settings.*row.field, row.default_value ? 1 : 0);
    write_settings({{row.key, ns::boolean(!row.default_value)}});
    load_settings();
    Settings expected = default_settings();
    expected.*row.field = row.default_value ? 0 : 1;
    // With Noctis integration on and no Noctis file the theme turns off.
    if (row.field == &Settings::noctisIntegration) expected.enabled = 0;
    EXPECT_TRUE(same(settings, expected));
  }
}

TEST_F(SettingsLoader, ValuesOfOtherKindsCountAsAbsent) {
  // A number is true when non-zero; texts, arrays and dictionaries say nothing.
  settings.enableDarkKeyboard = 0;
  write_settings({{"enabled", ns::number(0LL)},
                  {"enableDarkKeyboard", ns::number(0.5)},
                  {"colorEmail", ns::string("NO")},
                  {"noctisIntegration", ns::dictionary({})}});
  load_settings();
  EXPECT_EQ(settings.enabled, 0);
  EXPECT_EQ(settings.enableDarkKeyboard, 1);
  EXPECT_EQ(settings.colorEmail, 1);
  EXPECT_EQ(settings.noctisIntegration, 0);
}

TEST_F(SettingsLoader, UnreadableFilesNeverChangeASetting) {
  const std::string broken[] = {"", "not a property list",
                                "<?xml version=\"1.0\"?><plist><array/></plist>",
                                "bplist00\x01\x02"};
  settings.colorEmail = 0;
  for (const auto& bytes : broken) {
    write_raw(kSettingsPath, bytes);
    const Settings before = snapshot();
    load_settings();
    EXPECT_TRUE(same(settings, before)) << bytes;
    EXPECT_EQ(hex(bgColor), "#000000");
  }
}

TEST_F(SettingsLoader, NoctisRuleFollowsNoctisDarkMode) {
  struct Case {
    const char* what;
    bool noctis_file;
    std::optional<bool> dark_mode;
    bool enabled_after;
  };
  const Case cases[] = {
      {"no Noctis file", false, std::nullopt, false},
      {"no dark-mode entry", true, std::nullopt, false},
      {"dark mode off", true, false, false},
      {"dark mode on", true, true, true},
  };
  for (const auto& c : cases) {
    settings = default_settings();
    std::filesystem::remove(device::resolve(kNoctisPath));
    if (c.noctis_file) {
      if (c.dark_mode) {
        write_noctis({{kNoctisDarkModeKey, ns::boolean(*c.dark_mode)}});
      } else {
        write_noctis({{"other", ns::boolean(true)}});
      }
    }
    write_settings({{"noctisIntegration", ns::boolean(true)}});
    load_settings();
    EXPECT_EQ(settings.enabled != 0, c.enabled_after) << c.what;
    EXPECT_EQ(settings.noctisIntegration, 1) << c.what;
  }
}

TEST_F(SettingsLoader, DisabledThemeDoesNotConsultNoctis) {
  // Noctis's file would switch nothing on anyway; an unreadable one proves it
  // is not read (reading it would leave the theme off either way).
  write_settings({{"enabled", ns::boolean(false)}, {"noctisIntegration", ns::boolean(true)}});
  write_noctis({{kNoctisDarkModeKey, ns::boolean(true)}});
  load_settings();
  EXPECT_EQ(settings.enabled, 0);
}

TEST_F(SettingsLoader, NoctisSwitchOffLastsUntilTheFileSaysEnabledAgain) {
  write_settings({{"noctisIntegration", ns::boolean(true)}});
  load_settings();  // no Noctis file: the theme goes off
  ASSERT_EQ(settings.enabled, 0);

  // Noctis's dark mode comes on, but the settings file has no "enabled".
  write_noctis({{kNoctisDarkModeKey, ns::boolean(true)}});
  load_settings();
  EXPECT_EQ(settings.enabled, 0);

  // An unreadable settings file changes nothing either.
  write_raw(kSettingsPath, "garbage");
  load_settings();
  EXPECT_EQ(settings.enabled, 0);

  // "enabled" true with Noctis's dark mode on switches it back on.
  write_settings({{"enabled", ns::boolean(true)}, {"noctisIntegration", ns::boolean(true)}});
  load_settings();
  EXPECT_EQ(settings.enabled, 1);
}

TEST_F(SettingsLoader, PaletteIsTheSameAfterManyLoads) {
  for (int i = 0; i < 5; ++i) load_settings();
  EXPECT_EQ(hex(bgColor), "#000000");
  EXPECT_EQ(hex(lighterBgColor), "#1B1B1B");
  EXPECT_EQ(hex(textColor), "#CCCCCC");
  // Each load makes new colours; the old ones are released, not leaked.
  EXPECT_EQ(msg<unsigned long>(bgColor, "retainCount"), 1u);
}

}  // namespace
}  // namespace tenebra
