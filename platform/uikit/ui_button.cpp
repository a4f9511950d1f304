#include "platform/uikit/ui_button.h"

#include <map>

#include "platform/coregraphics/geometry.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"

namespace ui {
namespace {

using objc::Ref;

const objc::Member<BOOL> kEnabled{"UIControl", "_enabled"};
const objc::Member<BOOL> kHighlighted{"UIControl", "_highlighted"};
const objc::Member<BOOL> kSelected{"UIControl", "_selected"};
const objc::Member<std::map<unsigned long, Ref>> kTitles{"UIButton", "_titles"};

id control_init_with_frame(id self, SEL, CGRect frame) {
  kEnabled.of(self) = YES;
  return objc::msg_super<id>(self, objc_getClass("UIControl"), objc::sel("initWithFrame:"), frame);
}
unsigned long control_state(id self, SEL) {
  unsigned long state = kControlStateNormal;
  if (kHighlighted.of(self)) state |= kControlStateHighlighted;
  if (!kEnabled.of(self)) state |= kControlStateDisabled;
  if (kSelected.of(self)) state |= kControlStateSelected;
  return state;
}
BOOL control_is_enabled(id self, SEL) { return kEnabled.of(self); }
void control_set_enabled(id self, SEL, BOOL value) { kEnabled.of(self) = value; }
BOOL control_is_highlighted(id self, SEL) { return kHighlighted.of(self); }
void control_set_highlighted(id self, SEL, BOOL value) { kHighlighted.of(self) = value; }
BOOL control_is_selected(id self, SEL) { return kSelected.of(self); }
void control_set_selected(id self, SEL, BOOL value) { kSelected.of(self) = value; }

// A state without a title of its own shows the normal state's, as UIKit does.
id button_title_for_state(id self, SEL, unsigned long state) {
  const auto& titles = kTitles.of(self);
  auto it = titles.find(state);
  if (it == titles.end()) it = titles.find(kControlStateNormal);
  return it == titles.end() ? nil : it->second.get();
}
void button_set_title(id self, SEL, id title, unsigned long state) {
  kTitles.of(self)[state] = Ref::adopt(objc::msg<id>(title, "copy"));
}
id button_current_title(id self, SEL) {
  return button_title_for_state(self, nullptr, control_state(self, nullptr));
}

}  // namespace

void define_button_classes() {
  objc::ClassDefinition("UIControl", objc_getClass("UIView"))
      .member<BOOL>("_enabled")
      .member<BOOL>("_highlighted")
      .member<BOOL>("_selected")
      .method("initWithFrame:", control_init_with_frame)
      .method("state", control_state)
      .method("isEnabled", control_is_enabled)
      .method("setEnabled:", control_set_enabled)
      .method("isHighlighted", control_is_highlighted)
      .method("setHighlighted:", control_set_highlighted)
      .method("isSelected", control_is_selected)
      .method("setSelected:", control_set_selected)
      .finish();
  objc::ClassDefinition("UIButton", objc_getClass("UIControl"))
      .member<std::map<unsigned long, Ref>>("_titles")
      .method("titleForState:", button_title_for_state)
      .method("setTitle:forState:", button_set_title)
      .method("currentTitle", button_current_title)
      .finish();
}

}  // namespace ui
