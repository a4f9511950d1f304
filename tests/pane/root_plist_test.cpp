// The pane's page list against the library's list of settings: one switch
// per setting, with the library's key and default, the settings domain and
// the change notification, so the pane shows what the library uses and the
// library hears every change.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "core/settings.h"
#include "platform/device/device_paths.h"
#include "platform/foundation/foundation.h"

namespace {

using objc::msg;

std::string text_entry(id item, const char* key) {
  return ns::utf8(msg<id>(item, "objectForKey:", ns::string(key)));
}

TEST(RootPlist, HasOneSwitchPerSettingWithTheLibrarysKeyDefaultDomainAndNotification) {
  ns::AutoreleasePool pool;
  std::ifstream file(TENEBRA_ROOT_PLIST, std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  id items =
      msg<id>(ns::property_list_from_bytes(bytes.str()), "objectForKey:", ns::string("items"));
  ASSERT_TRUE(ns::is_array(items));

  std::multimap<std::string, id> switches;
  for (id item : ns::array_items(items)) {
    if (text_entry(item, "cell") == "PSSwitchCell") switches.emplace(text_entry(item, "key"), item);
  }
  EXPECT_EQ(switches.size(), tenebra::kSettingRows.size());
  for (const tenebra::SettingRow& row : tenebra::kSettingRows) {
    SCOPED_TRACE(row.key);
    ASSERT_EQ(switches.count(row.key), 1u);
    id item = switches.find(row.key)->second;
    id shown = msg<id>(item, "objectForKey:", ns::string("default"));
    EXPECT_TRUE(ns::is_boolean(shown));
    EXPECT_EQ(msg<BOOL>(shown, "boolValue") != NO, row.default_value);
    EXPECT_EQ(text_entry(item, "defaults"), tenebra::kSettingsDomain);
    EXPECT_EQ(text_entry(item, "PostNotification"), tenebra::kSettingsChangedNotification);
  }
  // The pane's path for the domain and the library's are one file.
  EXPECT_EQ(device::normalize(std::string("/User/Library/Preferences/") + tenebra::kSettingsDomain +
                              ".plist"),
            tenebra::kSettingsPath);
}

}  // namespace
