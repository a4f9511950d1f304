#include "core/library_classes.h"

#include "toolkit/color/ui_color_kestrow.h"

namespace tenebra {

void register_library_classes() { toolkit::register_color_category(); }

}  // namespace tenebra
