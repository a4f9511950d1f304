// The package as the build lays it into a device root: the library, its
// filter and the mail-content script where the library looks for it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/device/device_paths.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"

namespace {

using objc::msg;

std::string file_text(const std::string& host_path) {
  std::ifstream in(host_path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class PackageLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = device::root();
    device::set_root(TENEBRA_DEVICE_ROOT);
  }
  void TearDown() override { device::set_root(previous_); }

 private:
  std::string previous_;
};

TEST_F(PackageLayout, TheMailScriptIsTheBundlesResourceAndMatchesTheTree) {
  ns::AutoreleasePool pool;
  id bundle =
      msg<id>(objc_getClass("NSBundle"), "bundleWithPath:",
              ns::string("/Library/MobileSubstrate/DynamicLibraries/com.kestrow.tenebra.bundle"));
  ASSERT_NE(bundle, nil);
  id path = msg<id>(bundle, "pathForResource:ofType:", ns::string("tenebra.min"), ns::string("js"));
  ASSERT_NE(path, nil);
  const std::string installed = file_text(device::resolve(ns::utf8(path)));
  EXPECT_FALSE(installed.empty());
  EXPECT_EQ(installed, file_text(TENEBRA_MAIL_SCRIPT));
}

TEST_F(PackageLayout, TheLibraryAndItsFilterLieInTheTweakFolder) {
  for (const char* name : {"Tenebra.dylib", "Tenebra.plist"}) {
    std::ifstream file(
        device::resolve(std::string("/Library/MobileSubstrate/DynamicLibraries/") + name));
    EXPECT_TRUE(file.good()) << name;
  }
  // Both binaries are installed executable by everyone.
  namespace fs = std::filesystem;
  for (const char* binary : {"/Library/MobileSubstrate/DynamicLibraries/Tenebra.dylib",
                             "/Library/PreferenceBundles/tenebrasettings.bundle/tenebrasettings"}) {
    const fs::perms perms = fs::status(device::resolve(binary)).permissions();
    EXPECT_EQ(perms & fs::perms::all, fs::perms::owner_all | fs::perms::group_read |
                                          fs::perms::group_exec | fs::perms::others_read |
                                          fs::perms::others_exec)
        << binary;
  }
}

}  // namespace

namespace {

TEST_F(PackageLayout, ThePaneIsABundleThatPreferenceLoaderNames) {
  ns::AutoreleasePool pool;
  id entry =
      msg<id>(msg<id>(objc_getClass("NSDictionary"), "dictionaryWithContentsOfFile:",
                      ns::string("/Library/PreferenceLoader/Preferences/tenebrasettings.plist")),
              "objectForKey:", ns::string("entry"));
  EXPECT_EQ(ns::utf8(msg<id>(entry, "objectForKey:", ns::string("bundle"))), "tenebrasettings");
  id bundle =
      msg<id>(objc_getClass("NSBundle"),
              "bundleWithPath:", ns::string("/Library/PreferenceBundles/tenebrasettings.bundle"));
  ASSERT_NE(bundle, nil);
  EXPECT_EQ(
      ns::utf8(msg<id>(bundle, "objectForInfoDictionaryKey:", ns::string("NSPrincipalClass"))),
      "TNBRootListController");
  EXPECT_NE(msg<id>(bundle, "executablePath"), nil);
  for (const char* resource : {"Root", "my_tweaks"}) {
    EXPECT_NE(msg<id>(bundle, "pathForResource:ofType:", ns::string(resource), ns::string("plist")),
              nil)
        << resource;
  }
  // The device's own folders are there too, so that a first write succeeds.
  EXPECT_TRUE(std::filesystem::is_directory(device::resolve("/var/mobile/Library/Preferences")));
}

#ifdef TENEBRA_DEB
// What the command prints, and its exit status.
std::pair<std::string, int> command_output(const std::string& command) {
  std::string output;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return {"", -1};
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    output.append(buffer, n);
  return {output, ::pclose(pipe)};
}

TEST(DebianPackage, HoldsTheDeviceLayoutAndItsControlFields) {
  const auto [listing, listed] = command_output("dpkg-deb --contents '" TENEBRA_DEB "'");
  ASSERT_EQ(listed, 0);
  for (const char* path : {
           "./Library/MobileSubstrate/DynamicLibraries/Tenebra.dylib",
           "./Library/MobileSubstrate/DynamicLibraries/Tenebra.plist",
           "./Library/MobileSubstrate/DynamicLibraries/com.kestrow.tenebra.bundle/tenebra.min.js",
           "./Library/PreferenceBundles/tenebrasettings.bundle/tenebrasettings",
           "./Library/PreferenceBundles/tenebrasettings.bundle/Info.plist",
           "./Library/PreferenceBundles/tenebrasettings.bundle/Root.plist",
           "./Library/PreferenceBundles/tenebrasettings.bundle/my_tweaks.plist",
           "./Library/PreferenceLoader/Preferences/tenebrasettings.plist",
       }) {
    EXPECT_NE(listing.find(std::string(path) + "\n"), std::string::npos) << path;
  }
  // Every file belongs to root, and nothing lies outside /Library: the
  // user's folders are the device's, never the package's.
  std::istringstream lines(listing);
  for (std::string line; std::getline(lines, line);) {
    EXPECT_NE(line.find(" root/root "), std::string::npos) << line;
    EXPECT_TRUE(line.ends_with(" ./") || line.find(" ./Library/") != std::string::npos) << line;
  }

  const std::pair<const char*, const char*> fields[] = {
      {"Package", "com.kestrow.tenebra"},
      {"Architecture", "iphoneos-arm"},
      {"Depends", "mobilesubstrate, preferenceloader"},
  };
  for (const auto& [field, value] : fields) {
    const auto [text, status] =
        command_output(std::string("dpkg-deb --field '" TENEBRA_DEB "' ") + field);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(text, std::string(value) + "\n") << field;
  }
  const auto [version, status] = command_output("dpkg-deb --field '" TENEBRA_DEB "' Version");
  EXPECT_FALSE(version.empty());
}
#endif

}  // namespace
