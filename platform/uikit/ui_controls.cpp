#include "platform/uikit/ui_controls.h"

namespace ui {

void define_control_classes() {
  Class view = objc_getClass("UIView");
  define_label_class(view);
  define_text_field_class(view);
  define_text_view_class(view);
  define_navigation_bar_class(view);
}

}  // namespace ui
