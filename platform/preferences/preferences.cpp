#include "platform/preferences/preferences.h"

#include "platform/preferences/ps_list_controller.h"
#include "platform/preferences/ps_specifier.h"

namespace ps {

void define_preferences_classes() {
  define_specifier_class();
  define_list_controller_classes();
}

}  // namespace ps
