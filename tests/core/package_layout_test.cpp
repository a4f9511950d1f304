// The package as the build lays it into a device root: the library, its
// filter and the mail-content script where the library looks for it.
#include <gtest/gtest.h>

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
  id bundle = msg<id>(objc_getClass("NSBundle"), "bundleWithPath:",
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
    std::ifstream file(device::resolve(std::string("/Library/MobileSubstrate/DynamicLibraries/") + name));
    EXPECT_TRUE(file.good()) << name;
  }
}

}  // namespace
