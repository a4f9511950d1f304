#include "core/library_classes.h"

#include "obfuscator/obfuscator.h"
#include "overrides/host/mail_script.h"
#include "toolkit/color/ui_color_kestrow.h"
#include "toolkit/text/attributed_string_color.h"

namespace tenebra {

void register_library_classes() {
  toolkit::register_color_category();
  toolkit::register_attributed_string_category();
  obfuscator::register_obfuscator_class();
  register_helper_class();
}

}  // namespace tenebra
