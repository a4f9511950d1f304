#include "platform/uikit/ui_screen.h"

#include <cmath>

#include "platform/coregraphics/geometry.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"

namespace ui {
namespace {

double screen_scale = 2.0;

id main_screen(id, SEL) {
  static objc::Ref screen = objc::Ref::adopt(objc::msg<id>(objc_getClass("UIScreen"), "new"));
  return screen;
}
double scale(id, SEL) { return screen_scale; }
CGRect bounds(id, SEL) { return CGRectMake(0, 0, 375, 812); }

}  // namespace

void define_screen_class() {
  objc::ClassDefinition("UIScreen", objc_getClass("NSObject"))
      .class_method("mainScreen", main_screen)
      .method("scale", scale)
      .method("bounds", bounds)
      .finish();
}

double main_screen_scale() { return screen_scale; }

void set_main_screen_scale(double scale) {
  if (std::isfinite(scale) && scale > 0) screen_scale = scale;
}

}  // namespace ui
