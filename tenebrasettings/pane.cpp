// The pane's initialiser: defines its two page classes when the Settings
// app loads the bundle, as the device's loader registers a bundle's classes.
#include "tenebrasettings/my_tweaks_controller.h"
#include "tenebrasettings/root_list_controller.h"

namespace {

__attribute__((constructor)) void define_pane_classes() {
  tenebrasettings::define_root_list_controller();
  tenebrasettings::define_my_tweaks_controller();
}

}  // namespace
