#include "platform/uikit/ui_keyboard.h"

#include "platform/foundation/ns_object.h"
#include "platform/coregraphics/geometry.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"

namespace ui {
namespace {

using objc::msg;
using objc::Ref;

const objc::Member<BOOL> kLightKeyboard{"UIKBRenderConfig", "_lightKeyboard"};

const objc::Member<Ref> kGlobeKey{"UIKeyboardDockView", "_globeKey"};
const objc::Member<Ref> kDictationKey{"UIKeyboardDockView", "_dictationKey"};

const objc::Member<Ref> kRenderConfig{"UIKeyboard", "_renderConfig"};
const objc::Member<Ref> kDock{"UIKeyboard", "_dockView"};

// The responder that has the keyboard's input, and the keyboard shown for
// it; main thread only. Never destroyed, so that no release runs after the
// runtime is gone at exit.
Ref& first_responder_ref() {
  static Ref* responder = new Ref;
  return *responder;
}
Ref& shown_keyboard_ref() {
  static Ref* keyboard = new Ref;
  return *keyboard;
}

id new_view(const char* class_name, CGRect frame) {
  return msg<id>(msg<id>(objc_getClass(class_name), "alloc"), "initWithFrame:", frame);
}

id config_for_appearance(id self, SEL, long appearance) {
  id config = ns::autorelease(msg<id>(self, "new"));
  kLightKeyboard.of(config) = appearance != kKeyboardAppearanceDark;
  return config;
}
id default_config(id self, SEL) {
  return msg<id>(self, "configForAppearance:", static_cast<long>(kKeyboardAppearanceDefault));
}
id dark_config(id self, SEL) {
  return msg<id>(self, "configForAppearance:", static_cast<long>(kKeyboardAppearanceDark));
}
BOOL light_keyboard(id self, SEL) { return kLightKeyboard.of(self); }
void set_light_keyboard(id self, SEL, BOOL light) { kLightKeyboard.of(self) = light; }

id dock_init_with_frame(id self, SEL, CGRect frame) {
  self = objc::msg_super<id>(self, objc_getClass("UIKeyboardDockView"), objc::sel("initWithFrame:"),
                             frame);
  if (self == nil) return nil;
  for (const auto* key : {&kGlobeKey, &kDictationKey}) {
    key->of(self) = Ref::adopt(new_view("UIButton", CGRectMake(0, 0, 44, 44)));
    msg<void>(self, "addSubview:", key->of(self).get());
  }
  return self;
}
// The globe key at the left end, the dictation key at the right.
void dock_layout_subviews(id self, SEL) {
  const CGSize size = msg<CGRect>(self, "bounds").size;
  const double top = (size.height - 44) / 2;
  msg<void>(kGlobeKey.of(self), "setFrame:", CGRectMake(12, top, 44, 44));
  msg<void>(kDictationKey.of(self), "setFrame:", CGRectMake(size.width - 56, top, 44, 44));
}

id keyboard_init_with_frame(id self, SEL, CGRect frame) {
  self = objc::msg_super<id>(self, objc_getClass("UIKeyboard"), objc::sel("initWithFrame:"), frame);
  if (self == nil) return nil;
  kDock.of(self) = Ref::adopt(new_view("UIKeyboardDockView", CGRectZero));
  msg<void>(self, "addSubview:", kDock.of(self).get());
  return self;
}
id keyboard_render_config(id self, SEL) { return kRenderConfig.of(self); }
void keyboard_set_render_config(id self, SEL, id config) {
  kRenderConfig.of(self) = Ref::retain(config);
  msg<void>(self, "setNeedsLayout");
}
id keyboard_dock_view(id self, SEL) { return kDock.of(self); }

// The system's light and dark keyboard backdrops.
id backdrop(bool light) {
  const double r = light ? 209 : 43, g = light ? 212 : 43, b = light ? 217 : 43;
  return msg<id>(objc_getClass("UIColor"), "colorWithRed:green:blue:alpha:", r / 255, g / 255,
                 b / 255, 1.0);
}
void keyboard_layout_subviews(id self, SEL) {
  const bool light = msg<BOOL>(kRenderConfig.of(self), "lightKeyboard");
  id color = backdrop(light);
  msg<void>(self, "setBackgroundColor:", color);
  const CGSize size = msg<CGRect>(self, "bounds").size;
  id dock = kDock.of(self);
  msg<void>(dock, "setFrame:",
            CGRectMake(0, size.height - kKeyboardDockHeight, size.width, kKeyboardDockHeight));
  msg<void>(dock, "setBackgroundColor:", color);
  msg<void>(dock, "setNeedsLayout");
}
id active_keyboard(id, SEL) { return shown_keyboard_ref(); }

BOOL cannot_become_first_responder(id, SEL) { return NO; }
BOOL can_become_first_responder(id, SEL) { return YES; }
BOOL is_first_responder(id self, SEL) { return first_responder_ref().get() == self; }
long default_keyboard_appearance(id, SEL) { return kKeyboardAppearanceDefault; }

void hide_keyboard() {
  Ref keyboard = std::move(shown_keyboard_ref());
  msg<void>(keyboard, "removeFromSuperview");
}

// A text input brings the keyboard up in its window, with the render
// configuration of its keyboard appearance; a view in no window cannot
// become first responder.
BOOL become_first_responder(id self, SEL) {
  if (first_responder_ref().get() == self) return YES;
  if (!msg<BOOL>(self, "canBecomeFirstResponder")) return NO;
  id window = objc::responds(self, objc::sel("window")) ? msg<id>(self, "window") : nil;
  if (window == nil) return NO;
  if (first_responder_ref() && !msg<BOOL>(first_responder_ref(), "resignFirstResponder")) return NO;
  first_responder_ref() = Ref::retain(self);
  if (!objc::responds(self, objc::sel("keyboardAppearance"))) return YES;

  const CGSize size = msg<CGRect>(window, "bounds").size;
  shown_keyboard_ref() = Ref::adopt(new_view(
      "UIKeyboard", CGRectMake(0, size.height - kKeyboardHeight, size.width, kKeyboardHeight)));
  msg<void>(shown_keyboard_ref(), "setRenderConfig:",
            msg<id>(objc_getClass("UIKBRenderConfig"),
                    "configForAppearance:", msg<long>(self, "keyboardAppearance")));
  msg<void>(window, "addSubview:", shown_keyboard_ref().get());
  return YES;
}
BOOL resign_first_responder(id self, SEL) {
  if (first_responder_ref().get() != self) return YES;
  hide_keyboard();
  first_responder_ref() = nullptr;
  return YES;
}

// Resigns the first responder when it is this view or inside it.
BOOL end_editing(id self, SEL, BOOL) {
  id responder = first_responder_ref();
  for (id view = responder; view != nil; view = msg<id>(view, "superview")) {
    if (view == self) return msg<BOOL>(responder, "resignFirstResponder");
    if (!objc::responds(view, objc::sel("superview"))) break;
  }
  return NO;
}

}  // namespace

void define_keyboard_classes() {
  objc::ClassDefinition("UIKBRenderConfig", objc_getClass("NSObject"))
      .member<BOOL>("_lightKeyboard")
      .class_method("configForAppearance:", config_for_appearance)
      .class_method("defaultConfig", default_config)
      .class_method("darkConfig", dark_config)
      .method("lightKeyboard", light_keyboard)
      .method("setLightKeyboard:", set_light_keyboard)
      .finish();
  objc::ClassDefinition("UIKeyboardDockView", objc_getClass("UIView"))
      .member<Ref>("_globeKey")
      .member<Ref>("_dictationKey")
      .method("initWithFrame:", dock_init_with_frame)
      .method("layoutSubviews", dock_layout_subviews)
      .finish();
  objc::ClassDefinition("UIKeyboard", objc_getClass("UIView"))
      .member<Ref>("_renderConfig")
      .member<Ref>("_dockView")
      .class_method("activeKeyboard", active_keyboard)
      .method("initWithFrame:", keyboard_init_with_frame)
      .method("renderConfig", keyboard_render_config)
      .method("setRenderConfig:", keyboard_set_render_config)
      .method("dockView", keyboard_dock_view)
      .method("layoutSubviews", keyboard_layout_subviews)
      .finish();

  objc::ClassDefinition::extend(objc_getClass("UIResponder"))
      .method("canBecomeFirstResponder", cannot_become_first_responder)
      .method("becomeFirstResponder", become_first_responder)
      .method("resignFirstResponder", resign_first_responder)
      .method("isFirstResponder", is_first_responder);
  objc::ClassDefinition::extend(objc_getClass("UIView")).method("endEditing:", end_editing);
  for (const char* input : {"UITextField", "UITextView"}) {
    objc::ClassDefinition::extend(objc_getClass(input))
        .method("canBecomeFirstResponder", can_become_first_responder)
        .method("keyboardAppearance", default_keyboard_appearance);
  }
}

}  // namespace ui
