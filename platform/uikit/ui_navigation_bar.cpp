// UINavigationBar: its bar tint colour and whether it is translucent.
#include "platform/uikit/ui_controls.h"

#include "platform/coregraphics/geometry.h"

namespace ui {
namespace {

using objc::msg;
using objc::Ref;

const MemberProperty kBarTintColor{{"UINavigationBar", "_barTintColor"}};
const objc::Member<BOOL> kTranslucent{"UINavigationBar", "_translucent"};

// A bar is translucent by default. The default goes in before UIView's
// initializer runs, because that initializer ends by applying the appearance
// settings, which must win over it.
id bar_init_with_frame(id self, SEL, CGRect frame) {
  kTranslucent.of(self) = YES;
  return objc::msg_super<id>(self, objc_getClass("UINavigationBar"), objc::sel("initWithFrame:"),
                             frame);
}
id bar_tint_color(id self, SEL) { return kBarTintColor.get(self); }
void bar_set_tint_color(id self, SEL, id color) { kBarTintColor.retain(self, color); }
BOOL bar_is_translucent(id self, SEL) { return kTranslucent.of(self); }
void bar_set_translucent(id self, SEL, BOOL translucent) { kTranslucent.of(self) = translucent; }

}  // namespace

void define_navigation_bar_class(Class view) {
  objc::ClassDefinition("UINavigationBar", view)
      .member<Ref>("_barTintColor")
      .member<BOOL>("_translucent")
      .method("initWithFrame:", bar_init_with_frame)
      .method("barTintColor", bar_tint_color)
      .method("setBarTintColor:", bar_set_tint_color)
      .method("isTranslucent", bar_is_translucent)
      .method("setTranslucent:", bar_set_translucent)
      .finish();
}

}  // namespace ui
