// The pane and the Settings app model against hostile files where the
// settings file, the PreferenceLoader entry and the page list belong: a
// directory, a link to a device, a FIFO, 100 MB of garbage, deep nesting and
// wrong value types. Nothing stalls or crashes, and a settings file the pane
// replaces is first kept beside it, never over an earlier copy.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/foundation/foundation.h"
#include "tenebrasettings/settings_backup.h"
#include "tests/pane/pane_fixture.h"

namespace {

using objc::msg;
using pane_testing::kSettingsPath;
using tenebrasettings::ItemKind;
namespace fs = std::filesystem;

void write_bytes(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string read_bytes(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

std::string garbage(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 2654435761u >> 13);
  return bytes;
}

std::string deep_nesting() {
  std::string text = "<plist>";
  for (int i = 0; i < 100000; ++i) text += "<array>";
  return text + "</plist>";
}

// What may stand where a file the pane or the app reads belongs.
struct Hostile {
  const char* what;
  std::function<void(const std::string& host_path)> make;
};

const Hostile kHostile[] = {
    {"a directory", [](const std::string& p) { fs::create_directory(p); }},
    {"a link to a device", [](const std::string& p) { fs::create_symlink("/dev/zero", p); }},
    {"a FIFO", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
    {"100 MB of garbage", [](const std::string& p) { write_bytes(p, garbage(100u << 20)); }},
    {"deep nesting", [](const std::string& p) { write_bytes(p, deep_nesting()); }},
    {"wrong value types",
     [](const std::string& p) {
       write_bytes(p,
                   "<plist><dict><key>enabled</key><string>yes</string><key>entry</key><array/>"
                   "<key>items</key><dict/><key>title</key><integer>1</integer></dict></plist>");
     }},
};

TEST(SettingsBackup, NamesFollowTheFileAndOnlyWhatHoldsTheUsersDataIsKept) {
  EXPECT_EQ(tenebrasettings::backup_path(u"/p/x.plist", 1), u"/p/x.plist.bak");
  EXPECT_EQ(tenebrasettings::backup_path(u"/p/x.plist", 2), u"/p/x.plist.2.bak");
  EXPECT_EQ(tenebrasettings::backup_path(u"/p/x.plist", 100), u"/p/x.plist.100.bak");
  const std::pair<ItemKind, bool> kinds[] = {{ItemKind::kNone, false},
                                             {ItemKind::kFile, true},
                                             {ItemKind::kLink, true},
                                             {ItemKind::kDirectory, false},
                                             {ItemKind::kOther, false}};
  for (const auto& [kind, kept] : kinds) {
    EXPECT_EQ(tenebrasettings::needs_backup(kind), kept) << static_cast<int>(kind);
  }
}

class HostileSettingsFile : public pane_testing::PaneTest {
 protected:
  host::Cell cell(const char* key) { return *page_->switch_for_key(key); }
  id shown(const char* key) { return page_->value(cell(key)); }
  host::ActionReport flip(const char* key, bool on) { return app_->flip(*page_, cell(key), on); }
  std::string path() const { return host_path(kSettingsPath); }
  std::string backup(unsigned number) const {
    return path() + (number > 1 ? "." + std::to_string(number) : "") + ".bak";
  }
  id only_off() {
    return msg<id>(objc_getClass("NSDictionary"), "dictionaryWithObject:forKey:",
                   ns::boolean(false), ns::string("enabled"));
  }
};

TEST_F(HostileSettingsFile, EachIsShownAsDefaultsAndReplacedOnlyOnceWhatItHeldIsKeptBesideIt) {
  struct Expected {
    bool replaced;
    bool readable;  // the file reads as a dictionary: nothing to keep
  };
  const Expected expected[] = {
      {false, false},  // a directory: the write fails, nothing is lost
      {true, false},   // the link itself is kept
      {true, false},   // a FIFO holds nothing to keep
      {true, false}, {true, false},
      {true, true},
  };
  for (std::size_t i = 0; i < std::size(kHostile); ++i) {
    SCOPED_TRACE(kHostile[i].what);
    fs::remove_all(path());
    fs::remove_all(backup(1));
    kHostile[i].make(path());
    const bool is_file = fs::is_regular_file(fs::symlink_status(path()));
    const std::string before = is_file ? read_bytes(path()) : "";

    id enabled = shown("enabled");
    EXPECT_TRUE(msg<BOOL>(enabled, "isEqual:", expected[i].readable ? ns::string("yes")
                                                                    : ns::boolean(true)));
    const host::ActionReport report = flip("enabled", false);
    EXPECT_EQ(report.error.empty(), expected[i].replaced) << report.error;
    EXPECT_EQ(posted(), expected[i].replaced);
    if (!expected[i].replaced) {
      EXPECT_TRUE(fs::is_directory(path()));
    } else if (!expected[i].readable) {
      EXPECT_TRUE(msg<BOOL>(settings_file(), "isEqual:", only_off()));
    }

    const auto kept = fs::symlink_status(backup(1));
    if (is_file && !expected[i].readable) {
      ASSERT_TRUE(fs::is_regular_file(kept));
      EXPECT_TRUE(read_bytes(backup(1)) == before);
    } else if (std::string(kHostile[i].what) == "a link to a device") {
      ASSERT_TRUE(fs::is_symlink(kept));
      EXPECT_EQ(fs::read_symlink(backup(1)), "/dev/zero");
    } else {
      EXPECT_FALSE(fs::exists(kept));
    }
  }
}

TEST_F(HostileSettingsFile, AnEarlierCopyIsNeverReplacedNorTheSameFileKeptTwice) {
  write_bytes(backup(1), "an earlier copy");
  write_bytes(path(), "first garbage");
  EXPECT_EQ(flip("enabled", false).error, "");
  EXPECT_EQ(read_bytes(backup(1)), "an earlier copy");
  EXPECT_EQ(read_bytes(backup(2)), "first garbage");

  write_bytes(path(), "second garbage");
  EXPECT_EQ(flip("enabled", true).error, "");
  EXPECT_EQ(read_bytes(backup(3)), "second garbage");

  // The same bytes again (as after a write that failed once they were kept).
  write_bytes(path(), "first garbage");
  EXPECT_EQ(flip("enabled", false).error, "");
  EXPECT_FALSE(fs::exists(backup(4)));
  EXPECT_TRUE(msg<BOOL>(settings_file(), "isEqual:", only_off()));
}

TEST_F(HostileSettingsFile, WithoutRoomForACopyTheFileStaysAndTheChangeIsReported) {
  for (unsigned n = 1; n <= tenebrasettings::kMaxBackups; ++n) {
    write_bytes(backup(n), "copy " + std::to_string(n));
  }
  write_bytes(path(), "garbage the user may want");
  const host::ActionReport report = flip("enabled", false);
  EXPECT_NE(report.error.find("no copy of it can be kept"), std::string::npos) << report.error;
  EXPECT_FALSE(posted());
  EXPECT_EQ(read_bytes(path()), "garbage the user may want");
  EXPECT_FALSE(fs::exists(backup(tenebrasettings::kMaxBackups + 1)));
}

// The Settings app model with a copy of the pane's bundle it may break.
class HostilePaneFiles : public pane_testing::PaneTest {
 protected:
  HostilePaneFiles() : PaneTest(true) {}
};

TEST_F(HostilePaneFiles, AnEntryOrPageListOfAnyKindGivesAnErrorOrAnEmptyPageWithoutStalling) {
  const std::string entry = host_path("/Library/PreferenceLoader/Preferences/tenebrasettings.plist");
  const std::string page = host_path("/Library/PreferenceBundles/tenebrasettings.bundle/Root.plist");
  const std::string entry_bytes = read_bytes(entry);
  for (const Hostile& hostile : kHostile) {
    SCOPED_TRACE(hostile.what);
    fs::remove_all(entry);
    hostile.make(entry);
    host::PageResult opened = app_->open_pane("tenebrasettings");
    EXPECT_FALSE(opened.page);
    EXPECT_NE(opened.error, "");
    fs::remove_all(entry);
    write_bytes(entry, entry_bytes);

    fs::remove_all(page);
    hostile.make(page);
    relaunch({});
    ns::LogCapture capture;
    EXPECT_TRUE(page_->cells().empty());
    EXPECT_FALSE(capture.messages().empty());
  }
}

}  // namespace
