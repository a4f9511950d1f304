#include "tools/support/themed_process.h"

#include "core/hook_registry.h"
#include "core/library_classes.h"
#include "core/settings.h"
#include "hosts/gmail/host_classes.h"
#include "platform/device/device_paths.h"

namespace tenebra::testing {

void bring_up_theme() {
  static bool done = false;
  if (done) return;
  done = true;
  // The root lives for the process, so no settings file is found: the
  // theme runs on its defaults.
  static auto* root = new device::TemporaryRoot;
  (void)root;
  register_library_classes();
  host::define_host_classes({});
  load_settings();
  install_hooks();
}

}  // namespace tenebra::testing
