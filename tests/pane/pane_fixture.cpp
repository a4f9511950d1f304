#include "tests/pane/pane_fixture.h"

#include "platform/corefoundation/darwin_notify.h"

namespace pane_testing {

namespace fs = std::filesystem;

PaneTest::PaneTest(bool copy_bundle) {
  const fs::path library = fs::path(root_.host_path()) / "Library";
  if (copy_bundle) {
    fs::copy(fs::path(TENEBRA_DEVICE_ROOT) / "Library", library, fs::copy_options::recursive);
  } else {
    fs::create_directory_symlink(fs::path(TENEBRA_DEVICE_ROOT) / "Library", library);
  }
  fs::create_directories(device::resolve("/var/mobile/Library/Preferences"));
}

void PaneTest::SetUp() { relaunch({}); }

void PaneTest::relaunch(host::SettingsOptions options) {
  page_.reset();
  app_.emplace(std::move(options));
  app_->launch();
  host::PageResult opened = app_->open_pane("tenebrasettings");
  ASSERT_TRUE(opened.page) << opened.error;
  page_ = std::move(opened.page);
}

id PaneTest::settings_file() const { return ns::read_property_list(kSettingsPath); }

bool PaneTest::posted() {
  const fs::path file = fs::path(cf::notify_directory()) / cf::notify_file_name(kNotification);
  std::error_code ignored;
  return fs::remove(file, ignored);
}

}  // namespace pane_testing
