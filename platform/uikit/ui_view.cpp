#include "platform/uikit/ui_view.h"

#include <algorithm>
#include <cstdio>

#include "platform/coregraphics/geometry.h"
#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/exception.h"
#include "platform/uikit/ui_appearance.h"
#include "platform/uikit/ui_layout_pass.h"

namespace ui {
namespace {

using objc::msg;
using objc::Ref;

const objc::Member<CGRect> kFrame{"UIView", "_frame"};
const objc::Member<double> kAlpha{"UIView", "_alpha"};
const objc::Member<BOOL> kHidden{"UIView", "_hidden"};
const objc::Member<BOOL> kNeedsLayout{"UIView", "_needsLayout"};
const objc::Member<Ref> kBackgroundColor{"UIView", "_backgroundColor"};
// nil while the view inherits its tint from its superview.
const objc::Member<Ref> kTintColor{"UIView", "_tintColor"};
const objc::Member<Ref> kAccessibilityIdentifier{"UIView", "_accessibilityIdentifier"};
const objc::Member<std::vector<Ref>> kSubviews{"UIView", "_subviews"};
// Not retained: the superview retains the view, and clears this pointer
// before it goes away.
const objc::Member<id> kSuperview{"UIView", "_superview"};
// The controller whose root view this is; not retained, the controller
// retains the view and clears this pointer before it goes away.
const objc::Member<id> kViewDelegate{"UIView", "_viewDelegate"};

const objc::Member<Ref> kRootViewController{"UIWindow", "_rootViewController"};

id the_key_window = nil;

const objc::ClassRef view_class{"UIView"};
const objc::ClassRef window_class{"UIWindow"};

id responder_next(id, SEL) { return nil; }

void mark_needs_layout(id view) {
  kNeedsLayout.of(view) = YES;
  request_layout_pass();
}

id view_init_with_frame(id self, SEL, CGRect frame) {
  self = objc::msg_super<id>(self, view_class(), objc::sel("init"));
  if (self == nil) return nil;
  kFrame.of(self) = frame;
  kAlpha.of(self) = 1.0;
  kNeedsLayout.of(self) = YES;
  apply_appearance(self);
  return self;
}
id view_init(id self, SEL) { return msg<id>(self, "initWithFrame:", CGRectZero); }

void view_dealloc(id self, SEL) {
  for (const Ref& subview : kSubviews.of(self)) kSuperview.of(subview) = nil;
  objc::msg_super<void>(self, view_class(), objc::sel("dealloc"));
}

CGRect view_frame(id self, SEL) { return kFrame.of(self); }
void view_set_frame(id self, SEL, CGRect frame) {
  if (frame.size != kFrame.of(self).size) mark_needs_layout(self);
  kFrame.of(self) = frame;
}
CGRect view_bounds(id self, SEL) { return {{0.0, 0.0}, kFrame.of(self).size}; }

id view_background_color(id self, SEL) { return kBackgroundColor.of(self); }
void view_set_background_color(id self, SEL, id color) {
  kBackgroundColor.of(self) = Ref::retain(color);
}

double view_alpha(id self, SEL) { return kAlpha.of(self); }
void view_set_alpha(id self, SEL, double alpha) { kAlpha.of(self) = alpha; }

BOOL view_is_hidden(id self, SEL) { return kHidden.of(self); }
void view_set_hidden(id self, SEL, BOOL hidden) { kHidden.of(self) = hidden; }

// UIKit's default tint, system blue (0, 122, 255), answered at the top of a
// tree where no view sets a tint.
id system_blue() {
  static id color = msg<id>(msg<id>(objc_getClass("UIColor"), "alloc"),
                            "initWithRed:green:blue:alpha:", 0.0, 122.0 / 255.0, 1.0, 1.0);
  return color;
}
id view_tint_color(id self, SEL) {
  if (id own = kTintColor.of(self)) return own;
  if (id superview = kSuperview.of(self)) return msg<id>(superview, "tintColor");
  return system_blue();
}
void view_set_tint_color(id self, SEL, id color) { kTintColor.of(self) = Ref::retain(color); }

id view_accessibility_identifier(id self, SEL) { return kAccessibilityIdentifier.of(self); }
void view_set_accessibility_identifier(id self, SEL, id identifier) {
  kAccessibilityIdentifier.of(self) = Ref::adopt(msg<id>(identifier, "copy"));
}

id view_superview(id self, SEL) { return kSuperview.of(self); }

// A new array, so that the answer stays as it is while the views change.
id view_subviews(id self, SEL) {
  std::vector<id> items;
  for (const Ref& subview : kSubviews.of(self)) items.push_back(subview.get());
  return ns::array(items);
}

// Takes the view out of its superview's list; the list's reference is
// released last, so the view may be freed by this call.
void detach(id view) {
  id superview = kSuperview.of(view);
  if (superview == nil) return;
  kSuperview.of(view) = nil;
  auto& siblings = kSubviews.of(superview);
  auto at = std::find_if(siblings.begin(), siblings.end(),
                         [view](const Ref& sibling) { return sibling.get() == view; });
  if (at == siblings.end()) return;
  Ref released = std::move(*at);
  siblings.erase(at);
}

void view_add_subview(id self, SEL, id view) {
  if (view == nil) return;
  // A view inside its own subtree would make the tree a cycle.
  for (id ancestor = self; ancestor != nil; ancestor = kSuperview.of(ancestor)) {
    if (ancestor == view) objc::raise("NSInvalidArgumentException", "Can't add self as subview");
  }
  Ref kept = Ref::retain(view);
  detach(view);
  kSuperview.of(view) = self;
  kSubviews.of(self).push_back(std::move(kept));
  mark_needs_layout(self);
}

void view_remove_from_superview(id self, SEL) { detach(self); }

id view_next_responder(id self, SEL) {
  if (id controller = kViewDelegate.of(self)) return controller;
  return kSuperview.of(self);
}

id view_window(id self, SEL) {
  id top = self;
  while (id superview = kSuperview.of(top)) top = superview;
  return msg<BOOL>(top, "isKindOfClass:", window_class()) ? top : nil;
}

void view_layout_subviews(id, SEL) {}
void view_set_needs_layout(id self, SEL) { mark_needs_layout(self); }
// Lays out the view when it needs it, then its subtree, parents first.
void view_layout_if_needed(id self, SEL) {
  if (kNeedsLayout.of(self)) {
    kNeedsLayout.of(self) = NO;
    msg<void>(self, "layoutSubviews");
  }
  // A layout pass may add or remove subviews: walk the ones there were.
  const std::vector<Ref> subviews = kSubviews.of(self);
  for (const Ref& subview : subviews) msg<void>(subview, "layoutIfNeeded");
}
void view_draw_rect(id, SEL, CGRect) {}

id view_description(id self, SEL) {
  const CGRect frame = kFrame.of(self);
  char text[160];
  std::snprintf(text, sizeof text, "<%s: %p; frame = (%g %g; %g %g)>", objc::class_name_of(self),
                static_cast<void*>(self), frame.origin.x, frame.origin.y, frame.size.width,
                frame.size.height);
  return ns::string(text);
}

id view_appearance(id self, SEL) { return appearance_proxy(reinterpret_cast<Class>(self)); }

void window_dealloc(id self, SEL) {
  if (the_key_window == self) the_key_window = nil;
  objc::msg_super<void>(self, window_class(), objc::sel("dealloc"));
}
id window_root_view_controller(id self, SEL) { return kRootViewController.of(self); }
// The controller's view fills the window; the previous root's view leaves it.
void window_set_root_view_controller(id self, SEL, id controller) {
  Ref previous = kRootViewController.of(self);
  if (previous && msg<BOOL>(previous, "isViewLoaded")) {
    id previous_view = msg<id>(previous, "view");
    if (kSuperview.of(previous_view) == self) msg<void>(previous_view, "removeFromSuperview");
  }
  kRootViewController.of(self) = Ref::retain(controller);
  if (controller == nil) return;
  id view = msg<id>(controller, "view");
  msg<void>(view, "setFrame:", msg<CGRect>(self, "bounds"));
  msg<void>(self, "addSubview:", view);
}
void window_make_key_and_visible(id self, SEL) {
  msg<void>(self, "setHidden:", NO);
  the_key_window = self;
  request_layout_pass();
}
BOOL window_is_key_window(id self, SEL) { return the_key_window == self; }
id window_window(id self, SEL) { return self; }

}  // namespace

void define_view_classes() {
  objc::ClassDefinition("UIResponder", objc_getClass("NSObject"))
      .method("nextResponder", responder_next)
      .finish();

  objc::ClassDefinition("UIView", objc_getClass("UIResponder"))
      .member<CGRect>("_frame")
      .member<double>("_alpha")
      .member<BOOL>("_hidden")
      .member<BOOL>("_needsLayout")
      .member<Ref>("_backgroundColor")
      .member<Ref>("_tintColor")
      .member<Ref>("_accessibilityIdentifier")
      .member<std::vector<Ref>>("_subviews")
      .member<id>("_superview")
      .member<id>("_viewDelegate")
      .member<Ref>("_layer")
      .member<BOOL>("_needsDisplay")
      .class_method("appearance", view_appearance)
      .method("initWithFrame:", view_init_with_frame)
      .method("init", view_init)
      .method("dealloc", view_dealloc)
      .method("frame", view_frame)
      .method("setFrame:", view_set_frame)
      .method("bounds", view_bounds)
      .method("backgroundColor", view_background_color)
      .method("setBackgroundColor:", view_set_background_color)
      .method("alpha", view_alpha)
      .method("setAlpha:", view_set_alpha)
      .method("isHidden", view_is_hidden)
      .method("setHidden:", view_set_hidden)
      .method("tintColor", view_tint_color)
      .method("setTintColor:", view_set_tint_color)
      .method("accessibilityIdentifier", view_accessibility_identifier)
      .method("setAccessibilityIdentifier:", view_set_accessibility_identifier)
      .method("superview", view_superview)
      .method("subviews", view_subviews)
      .method("addSubview:", view_add_subview)
      .method("removeFromSuperview", view_remove_from_superview)
      .method("nextResponder", view_next_responder)
      .method("window", view_window)
      .method("layoutSubviews", view_layout_subviews)
      .method("setNeedsLayout", view_set_needs_layout)
      .method("layoutIfNeeded", view_layout_if_needed)
      .method("drawRect:", view_draw_rect)
      .method("description", view_description)
      .finish();

  objc::ClassDefinition("UIWindow", view_class())
      .member<Ref>("_rootViewController")
      .method("dealloc", window_dealloc)
      .method("rootViewController", window_root_view_controller)
      .method("setRootViewController:", window_set_root_view_controller)
      .method("makeKeyAndVisible", window_make_key_and_visible)
      .method("isKeyWindow", window_is_key_window)
      .method("window", window_window)
      .finish();
}

const std::vector<Ref>& subviews_of(id view) {
  static const std::vector<Ref> none;
  return view == nil ? none : kSubviews.of(view);
}

id key_window() { return the_key_window; }

}  // namespace ui
