// The pane's switches against the settings file: what each cell shows, what
// a change writes and posts, and that no cell, file or value, however
// broken, crashes the pane, writes outside the preferences folder or loses
// what the file held.
#include "tenebrasettings/settings_file.h"

#include <plist/plist.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>

#include "platform/foundation/foundation.h"
#include "tests/pane/pane_fixture.h"

namespace {

using objc::msg;
using pane_testing::kSettingsPath;
namespace fs = std::filesystem;

id make_dictionary(std::initializer_list<std::pair<const char*, id>> entries) {
  id dictionary = msg<id>(objc_getClass("NSMutableDictionary"), "dictionary");
  for (const auto& [key, value] : entries) {
    msg<void>(dictionary, "setObject:forKey:", value, ns::string(key));
  }
  return dictionary;
}

class SettingsFile : public pane_testing::PaneTest {
 protected:
  host::Cell cell(const char* key) { return *page_->switch_for_key(key); }
  id shown(const char* key) { return page_->value(cell(key)); }
  host::ActionReport flip(const char* key, bool on) { return app_->flip(*page_, cell(key), on); }
  void write_file(id dictionary) {
    ASSERT_TRUE(ns::write_property_list(dictionary, kSettingsPath, true));
  }
};

TEST_F(SettingsFile, WithoutAFileEachSwitchShowsTheLibrarysDefaultAndTheFirstChangeWritesOneEntry) {
  const std::pair<const char*, bool> defaults[] = {{"enabled", true},
                                                   {"enableDarkKeyboard", true},
                                                   {"colorEmail", true},
                                                   {"noctisIntegration", false}};
  for (const auto& [key, on] : defaults) EXPECT_EQ(shown(key), ns::boolean(on)) << key;

  const host::ActionReport report = flip("colorEmail", false);
  EXPECT_EQ(report.error, "");
  EXPECT_TRUE(report.log.empty());
  EXPECT_TRUE(posted());
  EXPECT_TRUE(msg<BOOL>(settings_file(),
                        "isEqual:", make_dictionary({{"colorEmail", ns::boolean(false)}})));
}

TEST_F(SettingsFile, AStoredFalseIsShownAndAChangeKeepsEveryOtherEntry) {
  write_file(make_dictionary({{"enabled", ns::boolean(false)}, {"mine", ns::string("kept")}}));
  EXPECT_EQ(shown("enabled"), ns::boolean(false));
  EXPECT_EQ(flip("noctisIntegration", true).error, "");
  EXPECT_EQ(flip("enableDarkKeyboard", false).error, "");
  EXPECT_TRUE(msg<BOOL>(settings_file(), "isEqual:",
                        make_dictionary({{"enabled", ns::boolean(false)},
                                         {"mine", ns::string("kept")},
                                         {"noctisIntegration", ns::boolean(true)},
                                         {"enableDarkKeyboard", ns::boolean(false)}})));
  EXPECT_EQ(shown("noctisIntegration"), ns::boolean(true));
}

// What another tool may leave where the settings file belongs.
struct FoundFile {
  const char* what;
  std::function<void(const std::string& host_path)> make;
  id shown_enabled;  // nil: the cell's default
  bool write_succeeds;
  id file_after;  // after `enabled` is set to false; nil: not a dictionary file
};

void write_bytes(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

void write_binary_plist(const std::string& path) {
  plist_t root = plist_new_dict();
  plist_dict_set_item(root, "enabled", plist_new_bool(0));
  plist_dict_set_item(root, "theirs", plist_new_uint(7));
  char* bytes = nullptr;
  uint32_t length = 0;
  plist_to_bin(root, &bytes, &length);
  write_bytes(path, std::string_view(bytes, length));
  std::free(bytes);
  plist_free(root);
}

TEST_F(SettingsFile, WhatOtherToolsLeaveIsReadWherePossibleAndOtherwiseReplacedNeverCrashing) {
  id only_off = make_dictionary({{"enabled", ns::boolean(false)}});
  const FoundFile cases[] = {
      {"garbage", [](const std::string& p) { write_bytes(p, "\x00\x01 not a plist"); }, nil, true,
       only_off},
      {"an array", [](const std::string& p) { write_bytes(p, "<plist><array/></plist>"); }, nil,
       true, only_off},
      {"a binary list", write_binary_plist, ns::boolean(false), true,
       make_dictionary({{"enabled", ns::boolean(false)}, {"theirs", ns::number(7)}})},
      {"a text where a Boolean belongs",
       [](const std::string& p) {
         write_bytes(p, "<plist><dict><key>enabled</key><string>yes</string></dict></plist>");
       },
       ns::string("yes"), true, only_off},
      {"a directory", [](const std::string& p) { fs::create_directory(p); }, nil, false, nil},
      {"a FIFO", [](const std::string& p) { ::mkfifo(p.c_str(), 0600); }, nil, true, only_off},
      {"a symbolic link to a settings file",
       [](const std::string& p) {
         const std::string target = p + ".elsewhere";
         write_bytes(target, "<plist><dict><key>x</key><integer>1</integer></dict></plist>");
         fs::create_symlink(target, p);
       },
       nil, true, make_dictionary({{"enabled", ns::boolean(false)}, {"x", ns::number(1)}})},
  };
  for (const FoundFile& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = host_path(kSettingsPath);
    fs::remove_all(path);
    c.make(path);
    id expected_shown = c.shown_enabled != nil ? c.shown_enabled : ns::boolean(true);
    EXPECT_TRUE(msg<BOOL>(shown("enabled"), "isEqual:", expected_shown));
    const host::ActionReport report = flip("enabled", false);
    EXPECT_EQ(report.error.empty(), c.write_succeeds) << report.error;
    EXPECT_EQ(posted(), c.write_succeeds);
    if (c.file_after != nil) {
      EXPECT_TRUE(msg<BOOL>(settings_file(), "isEqual:", c.file_after));
    } else {
      EXPECT_TRUE(fs::is_directory(path));
    }
  }
}

TEST_F(SettingsFile, AWriteThatCannotHappenIsReportedAndPostsNothing) {
  fs::remove_all(host_path("/var/mobile/Library/Preferences"));
  const host::ActionReport report = flip("enabled", false);
  EXPECT_NE(report.error.find("cannot be written"), std::string::npos) << report.error;
  EXPECT_EQ(report.log.size(), 1u);
  EXPECT_FALSE(posted());
  if (::geteuid() == 0) return;  // root writes into read-only folders all the same
  fs::create_directories(host_path("/var/mobile/Library/Preferences"));
  fs::permissions(host_path("/var/mobile/Library/Preferences"),
                  fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_NE(flip("enabled", false).error, "");
  fs::permissions(host_path("/var/mobile/Library/Preferences"), fs::perms::owner_all);
}

// Cells the pane's own Root.plist never has, made by hand.
class HandMadeCells : public SettingsFile {
 protected:
  id specifier(std::initializer_list<std::pair<const char*, id>> properties) {
    id made =
        msg<id>(objc_getClass("PSSpecifier"),
                "preferenceSpecifierNamed:target:set:get:detail:cell:edit:", ns::string("Cell"),
                page_->controller(), objc::sel("setPreferenceValue:specifier:"),
                objc::sel("readPreferenceValue:"), Class{Nil}, 6L, Class{Nil});
    msg<void>(made, "setProperties:", make_dictionary(properties));
    return made;
  }
  // Sets `value` through the page, answering what was logged.
  std::vector<std::string> set(id value, id cell) {
    ns::LogCapture capture;
    msg<void>(page_->controller(), "setPreferenceValue:specifier:", value, cell);
    return capture.messages();
  }
  id read(id cell) { return msg<id>(page_->controller(), "readPreferenceValue:", cell); }
  std::vector<std::string> preference_files() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(host_path("/var/mobile/Library/Preferences"))) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }
};

TEST_F(HandMadeCells, OnlyAPlainDomainNamesAFileAndEveryOtherGivesTheDefaultAndWritesNothing) {
  const std::u16string nul_inside{u'a', u'\0', u'b'};
  const id domains[] = {nil,
                        ns::string(""),
                        ns::string("/"),
                        ns::string(".."),
                        ns::string("a/b"),
                        ns::string("../../../../Library/MobileSubstrate/DynamicLibraries/Tenebra"),
                        ns::string("x..y"),
                        ns::string(nul_inside),
                        ns::number(1)};
  for (id domain : domains) {
    SCOPED_TRACE(ns::utf8(msg<id>(domain, "description")));
    id cell = specifier({{"key", ns::string("enabled")},
                         {"default", ns::string("the default")},
                         {"PostNotification", ns::string(pane_testing::kNotification)}});
    if (domain != nil) msg<void>(cell, "setProperty:forKey:", domain, ns::string("defaults"));
    EXPECT_TRUE(msg<BOOL>(read(cell), "isEqual:", ns::string("the default")));
    EXPECT_EQ(set(ns::boolean(false), cell).size(), 1u);
    EXPECT_FALSE(posted());
    EXPECT_TRUE(preference_files().empty());
  }
  EXPECT_TRUE(fs::exists(host_path("/Library/MobileSubstrate/DynamicLibraries/Tenebra.dylib")));
  for (std::u16string_view plain : {u"com.kestrow.tenebrasettings", u"a", u".hidden", u"x.y-z_1"}) {
    EXPECT_TRUE(tenebrasettings::is_plain_domain(plain));
  }
}

TEST_F(HandMadeCells, WithoutKeyOrValueOrPlistValueNothingIsWrittenOrPostedAndTheOldFileStays) {
  write_file(make_dictionary({{"enabled", ns::boolean(true)}}));
  id keyless = specifier({{"defaults", ns::string("com.kestrow.tenebrasettings")},
                          {"PostNotification", ns::string(pane_testing::kNotification)}});
  id keyed = specifier({{"defaults", ns::string("com.kestrow.tenebrasettings")},
                        {"key", ns::string("enabled")},
                        {"PostNotification", ns::string(pane_testing::kNotification)}});
  ns::AutoreleasePool pool;
  id not_plist = msg<id>(objc_getClass("UIView"), "new");
  id array_with_view = ns::array({ns::boolean(true), not_plist});
  const std::pair<id, id> attempts[] = {
      {ns::boolean(false), keyless}, {nil, keyed}, {not_plist, keyed}, {array_with_view, keyed}};
  for (const auto& [value, cell] : attempts) {
    EXPECT_EQ(set(value, cell).size(), 1u);
    EXPECT_FALSE(posted());
    EXPECT_TRUE(
        msg<BOOL>(settings_file(), "isEqual:", make_dictionary({{"enabled", ns::boolean(true)}})));
  }
  msg<void>(not_plist, "release");
  EXPECT_EQ(preference_files(), std::vector<std::string>{"com.kestrow.tenebrasettings.plist"});
}

TEST_F(HandMadeCells, AnotherDomainHasItsOwnFileAndACellWithoutNotificationPostsNothing) {
  id cell = specifier({{"defaults", ns::string("com.example.other")}, {"key", ns::string("k")}});
  EXPECT_TRUE(set(ns::number(5), cell).empty());
  EXPECT_FALSE(posted());
  EXPECT_TRUE(msg<BOOL>(ns::read_property_list("/User/Library/Preferences/com.example.other.plist"),
                        "isEqual:", make_dictionary({{"k", ns::number(5)}})));
  EXPECT_TRUE(msg<BOOL>(read(cell), "isEqual:", ns::number(5)));
  EXPECT_EQ(settings_file(), nil);
}

}  // namespace
