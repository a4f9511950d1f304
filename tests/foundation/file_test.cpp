// NSFileManager and NSBundle on the device file system.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/device/device_paths.h"
#include "platform/foundation/foundation.h"

namespace {

using objc::msg;
namespace fs = std::filesystem;

id text(const char* utf8) { return ns::string(utf8); }

class FileTest : public testing::Test {
 protected:
  std::string host(const std::string& device_path) const { return device::resolve(device_path); }
  id manager() const { return msg<id>(objc_getClass("NSFileManager"), "defaultManager"); }

  device::TemporaryRoot root_;
  ns::AutoreleasePool pool_;
};

TEST_F(FileTest, DirectoriesAreMadeAndRemovedUnderTheRoot) {
  id error = nil;
  id deep = text("/User/Library/Preferences/deeper");
  // Without intermediates a missing parent is an error; with them all are made.
  EXPECT_FALSE(msg<BOOL>(
      manager(), "createDirectoryAtPath:withIntermediateDirectories:attributes:error:", deep, NO,
      nil, &error));
  EXPECT_EQ(msg<long>(error, "code"), NSFileNoSuchFileError);
  EXPECT_TRUE(msg<BOOL>(manager(),
                        "createDirectoryAtPath:withIntermediateDirectories:attributes:error:", deep,
                        YES, nil, &error));
  EXPECT_TRUE(fs::is_directory(root_.host_path() + "/var/mobile/Library/Preferences/deeper"));
  // Making it again is fine with intermediates, an error without.
  EXPECT_TRUE(msg<BOOL>(manager(),
                        "createDirectoryAtPath:withIntermediateDirectories:attributes:error:", deep,
                        YES, nil, static_cast<id*>(nullptr)));
  EXPECT_FALSE(msg<BOOL>(
      manager(), "createDirectoryAtPath:withIntermediateDirectories:attributes:error:", deep, NO,
      nil, &error));
  EXPECT_EQ(msg<long>(error, "code"), NSFileWriteFileExistsError);

  BOOL is_directory = NO;
  EXPECT_TRUE(msg<BOOL>(manager(), "fileExistsAtPath:isDirectory:",
                        text("/var/mobile/Library/Preferences/deeper"), &is_directory));
  EXPECT_TRUE(is_directory);
  std::ofstream(host("/var/mobile/Library/Preferences/deeper/file")) << "x";

  // Removal takes the directory with everything in it.
  EXPECT_TRUE(msg<BOOL>(manager(), "removeItemAtPath:error:", text("/User/Library"), &error));
  EXPECT_FALSE(msg<BOOL>(manager(), "fileExistsAtPath:", text("/var/mobile/Library")));
  EXPECT_FALSE(msg<BOOL>(manager(), "removeItemAtPath:error:", text("/User/Library"), &error));
  EXPECT_EQ(msg<long>(error, "code"), NSFileNoSuchFileError);
  // The device's "/" is never removed, however it is spelled.
  EXPECT_FALSE(msg<BOOL>(manager(), "removeItemAtPath:error:", text("/var/.."), &error));
  EXPECT_TRUE(fs::exists(root_.host_path()));
}

TEST_F(FileTest, DirectoryContentsAreListedInOrder) {
  fs::create_directories(host("/Library/MobileSubstrate/DynamicLibraries"));
  for (const char* name : {"Tenebra.plist", "Tenebra.dylib", "Another.plist"}) {
    std::ofstream(host(std::string("/Library/MobileSubstrate/DynamicLibraries/") + name)) << "x";
  }
  id names = msg<id>(manager(), "contentsOfDirectoryAtPath:error:",
                     text("/Library/MobileSubstrate/DynamicLibraries"), static_cast<id*>(nullptr));
  EXPECT_EQ(ns::utf8(msg<id>(names, "description")),
            "(\n    Another.plist,\n    Tenebra.dylib,\n    Tenebra.plist\n)");
  id error = nil;
  EXPECT_EQ(msg<id>(manager(), "contentsOfDirectoryAtPath:error:", text("/nowhere"), &error), nil);
  EXPECT_EQ(msg<long>(error, "code"), NSFileReadNoSuchFileError);
}

TEST_F(FileTest, BundlesFindTheirResourcesByNameAndType) {
  const std::string bundle = "/Library/MobileSubstrate/DynamicLibraries/com.kestrow.tenebra.bundle";
  fs::create_directories(host(bundle));
  std::ofstream(host(bundle + "/tenebra.min.js")) << "/* script */";
  std::ofstream(host(bundle + "/README")) << "x";

  Class bundle_class = objc_getClass("NSBundle");
  id made = msg<id>(bundle_class, "bundleWithPath:", text(bundle.c_str()));
  ASSERT_NE(made, nil);
  EXPECT_EQ(ns::utf8(msg<id>(made, "bundlePath")), bundle);
  EXPECT_EQ(ns::utf8(msg<id>(made, "pathForResource:ofType:", text("tenebra.min"), text("js"))),
            bundle + "/tenebra.min.js");
  EXPECT_EQ(msg<id>(made, "pathForResource:ofType:", text("tenebra"), text("js")), nil);
  // No type: the name is the whole file name.
  EXPECT_EQ(ns::utf8(msg<id>(made, "pathForResource:ofType:", text("README"), nil)),
            bundle + "/README");
  EXPECT_EQ(ns::utf8(msg<id>(made, "pathForResource:ofType:", text("README"), text(""))),
            bundle + "/README");
  EXPECT_EQ(msg<id>(made, "bundleIdentifier"), nil);  // no Info.plist

  // No bundle where there is no directory.
  EXPECT_EQ(msg<id>(bundle_class, "bundleWithPath:", text("/Library/none.bundle")), nil);
  EXPECT_EQ(msg<id>(bundle_class, "bundleWithPath:", text((bundle + "/README").c_str())), nil);
  id allocated = msg<id>(bundle_class, "alloc");
  EXPECT_EQ(msg<id>(allocated, "initWithPath:", text("/Library/none.bundle")), nil);
}

TEST_F(FileTest, BundleIdentifiersComeFromInfoPlistOrTheHost) {
  const std::string bundle = "/Library/PreferenceBundles/tenebrasettings.bundle";
  fs::create_directories(host(bundle));
  id info = ns::dictionary({{text("CFBundleIdentifier"), text("com.kestrow.tenebrasettings")}});
  ASSERT_TRUE(
      msg<BOOL>(info, "writeToFile:atomically:", text((bundle + "/Info.plist").c_str()), YES));
  id made = msg<id>(objc_getClass("NSBundle"), "bundleWithPath:", text(bundle.c_str()));
  EXPECT_EQ(ns::utf8(msg<id>(made, "bundleIdentifier")), "com.kestrow.tenebrasettings");

  // The host app names its own bundle and identifier.
  ns::set_main_bundle("/var/containers/Bundle/Application/Gmail.app", "com.google.Gmail");
  id main = msg<id>(objc_getClass("NSBundle"), "mainBundle");
  EXPECT_EQ(ns::utf8(msg<id>(main, "bundleIdentifier")), "com.google.Gmail");
  EXPECT_EQ(ns::utf8(msg<id>(main, "bundlePath")), "/var/containers/Bundle/Application/Gmail.app");
  // The host model may also name it by message; the directory stays.
  msg<void>(objc_getClass("NSBundle"), "setMainBundleIdentifier:", text("com.google.Gmail.beta"));
  main = msg<id>(objc_getClass("NSBundle"), "mainBundle");
  EXPECT_EQ(ns::utf8(msg<id>(main, "bundleIdentifier")), "com.google.Gmail.beta");
  EXPECT_EQ(ns::utf8(msg<id>(main, "bundlePath")), "/var/containers/Bundle/Application/Gmail.app");
}

}  // namespace
