// The device file system: every device path resolves under one root, "/User"
// is "/var/mobile", and no spelling of a path leaves the root.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "platform/device/device_paths.h"
#include "tests/foundation/printable.h"

namespace {

struct Normalization {
  const char* device_path;
  const char* normal;
};
void PrintTo(const Normalization& c, std::ostream* out) { *out << printable(c.device_path); }

class DevicePathNormalization : public testing::TestWithParam<Normalization> {};

TEST_P(DevicePathNormalization, GivesTheCanonicalDevicePath) {
  EXPECT_EQ(device::normalize(GetParam().device_path), GetParam().normal);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DevicePathNormalization,
    testing::Values(
        Normalization{"", "/"}, Normalization{"/", "/"},
        Normalization{"/var/mobile/Library/Preferences/a.plist",
                      "/var/mobile/Library/Preferences/a.plist"},
        // "/User" is a link to "/var/mobile", as on the device...
        Normalization{"/User/Library/Preferences/a.plist",
                      "/var/mobile/Library/Preferences/a.plist"},
        Normalization{"/User", "/var/mobile"}, Normalization{"/User/", "/var/mobile"},
        Normalization{"/var/../User/x", "/var/mobile/x"},
        // ...followed like a link, so ".." after it climbs from /var/mobile.
        Normalization{"/User/../Library", "/var/Library"},
        // Only the top-level "User" is the link.
        Normalization{"/Users/x", "/Users/x"}, Normalization{"/var/User/x", "/var/User/x"},
        Normalization{"./a/./b//c/", "/a/b/c"},
        // ".." never climbs above the device's "/".
        Normalization{"/../../etc/passwd", "/etc/passwd"}, Normalization{"/a/b/../../../..", "/"},
        // A relative path is taken from "/".
        Normalization{"relative/file", "/relative/file"}, Normalization{"../outside", "/outside"}));

TEST(DeviceRoot, ResolvesEveryPathUnderTheRoot) {
  device::TemporaryRoot root;
  const std::string& base = root.host_path();
  EXPECT_EQ(device::resolve("/"), base);
  EXPECT_EQ(device::resolve("/User/Library/x.plist"), base + "/var/mobile/Library/x.plist");
  EXPECT_EQ(device::resolve("/var/mobile/Library/x.plist"), base + "/var/mobile/Library/x.plist");
  for (const char* escape : {"/..", "../../..", "/../../tmp/x", "a/../../../b"}) {
    std::string host = device::resolve(escape);
    EXPECT_TRUE(host == base || host.starts_with(base + "/")) << escape << " -> " << host;
  }
}

TEST(DeviceRoot, TemporaryRootIsFreshAndRestoresThePreviousOne) {
  std::string before = device::root();
  std::string made;
  {
    device::TemporaryRoot root;
    made = root.host_path();
    EXPECT_EQ(device::root(), made);
    EXPECT_TRUE(std::filesystem::is_empty(made));
    std::filesystem::create_directories(made + "/var/mobile");
  }
  // The previous root is back and the temporary tree is gone.
  EXPECT_EQ(device::root(), before);
  EXPECT_FALSE(std::filesystem::exists(made));
}

TEST(DeviceRoot, SetRootDropsTrailingSlashes) {
  std::string before = device::root();
  device::set_root("/tmp/somewhere//");
  EXPECT_EQ(device::root(), "/tmp/somewhere");
  EXPECT_EQ(device::resolve("/User"), "/tmp/somewhere/var/mobile");
  device::set_root(before);
}

// The first root comes from the environment; each case runs in a fresh
// process, where nothing has asked for the root yet.
TEST(DeviceRootDeathTest, InitialRootComesFromTheEnvironmentElseTheStagedRoot) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        setenv("TENEBRA_DEVICE_ROOT", "/tmp/from-environment/", 1);
        std::exit(device::root() == "/tmp/from-environment" ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
  EXPECT_EXIT(
      {
        unsetenv("TENEBRA_DEVICE_ROOT");
        std::exit(device::root().ends_with("/device-root") ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
