#include "platform/uikit/uikit.h"

#include "platform/uikit/ui_color.h"

namespace ui {

void define_uikit_classes() { define_color_classes(); }

}  // namespace ui
