#include "platform/uikit/device_pin_keypad.h"

#include <array>
#include <vector>

#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/coregraphics/geometry.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"

namespace ui {
namespace {

using objc::msg;
using objc::Ref;

// Left to right, top to bottom; the bottom row's outer keys are blank.
constexpr std::array<const char*, 12> kKeyTitles = {"1", "2", "3", "4", "5", "6",
                                                    "7", "8", "9", "",  "0", ""};

const objc::Member<std::vector<Ref>> kKeys{"DevicePINKeypad", "_keys"};

id keypad_init_with_frame(id self, SEL, CGRect frame) {
  self = objc::msg_super<id>(self, objc_getClass("DevicePINKeypad"), objc::sel("initWithFrame:"),
                             frame);
  if (self == nil) return nil;
  msg<void>(self, "setBackgroundColor:",
            msg<id>(objc_getClass("UIColor"), "colorWithWhite:alpha:", 0.97, 1.0));
  for (const char* title : kKeyTitles) {
    Ref key = Ref::adopt(msg<id>(objc_getClass("UIButton"), "new"));
    msg<void>(key, "setTitle:forState:", ns::string(title), 0UL);
    msg<void>(self, "addSubview:", key.get());
    kKeys.of(self).push_back(std::move(key));
  }
  return self;
}

// Three equal columns and four equal rows.
void keypad_layout_subviews(id self, SEL) {
  const CGSize size = msg<CGRect>(self, "bounds").size;
  const double width = size.width / 3, height = size.height / 4;
  const auto& keys = kKeys.of(self);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    msg<void>(keys[i], "setFrame:",
              CGRectMake(width * static_cast<double>(i % 3), height * static_cast<double>(i / 3),
                         width, height));
  }
}

}  // namespace

void define_pin_keypad_classes() {
  objc::ClassDefinition("DevicePINKeypad", objc_getClass("UIView"))
      .member<std::vector<Ref>>("_keys")
      .method("initWithFrame:", keypad_init_with_frame)
      .method("layoutSubviews", keypad_layout_subviews)
      .finish();
}

}  // namespace ui
