// Brings the device model up when the platform library is loaded, before any
// program or tweak code runs, as the system frameworks are on the device.
// Classes are defined in dependency order.
#include "platform/foundation/foundation.h"
#include "platform/foundation/ns_exception.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/preferences/preferences.h"
#include "platform/quartzcore/ca_layer.h"
#include "platform/safariservices/sf_safari_view_controller.h"
#include "platform/uikit/uikit.h"
#include "platform/webkit/webkit.h"

namespace {

__attribute__((constructor(101))) void define_platform_classes() {
  ns::define_object_classes();
  ns::define_string_classes();
  ns::define_exception_classes();
  ns::define_foundation_classes();
  ca::define_layer_classes();
  ui::define_uikit_classes();
  webkit::define_webkit_classes();
  ps::define_preferences_classes();
  sf::define_safari_classes();
}

}  // namespace
