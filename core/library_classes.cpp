#include "core/library_classes.h"

#include "obfuscator/obfuscator.h"
#include "toolkit/color/ui_color_kestrow.h"

namespace tenebra {

void register_library_classes() {
  toolkit::register_color_category();
  obfuscator::register_obfuscator_class();
}

}  // namespace tenebra
