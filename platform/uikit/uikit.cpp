#include "platform/uikit/uikit.h"

#include "platform/uikit/device_pin_keypad.h"
#include "platform/uikit/text_attributes.h"
#include "platform/uikit/ui_appearance.h"
#include "platform/uikit/ui_application.h"
#include "platform/uikit/ui_button.h"
#include "platform/uikit/ui_color.h"
#include "platform/uikit/ui_controls.h"
#include "platform/uikit/ui_graphics.h"
#include "platform/uikit/ui_image.h"
#include "platform/uikit/ui_keyboard.h"
#include "platform/uikit/ui_list_views.h"
#include "platform/uikit/ui_picker_view.h"
#include "platform/uikit/ui_screen.h"
#include "platform/uikit/ui_status_bar.h"
#include "platform/uikit/ui_view.h"
#include "platform/uikit/ui_view_controller.h"
#include "platform/uikit/ui_view_display.h"

namespace ui {

void define_uikit_classes() {
  define_text_attribute_names();
  define_color_classes();
  define_appearance_classes();
  define_view_classes();
  define_view_display();
  define_view_controller_classes();
  define_application_classes();
  define_control_classes();
  define_screen_class();
  define_image_classes();
  define_color_drawing();
  define_button_classes();
  define_list_view_classes();
  define_picker_classes();
  define_keyboard_classes();
  define_pin_keypad_classes();
  define_status_bar_classes();
}

}  // namespace ui
