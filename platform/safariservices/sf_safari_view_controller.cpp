#include "platform/safariservices/sf_safari_view_controller.h"

#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/coregraphics/geometry.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"

namespace sf {
namespace {

using objc::msg;
using objc::Ref;

const objc::Member<Ref> kURL{"SFSafariViewController", "_URL"};
const objc::Member<Ref> kControlTint{"SFSafariViewController", "_preferredControlTintColor"};
const objc::Member<Ref> kBarTint{"SFSafariViewController", "_preferredBarTintColor"};

Class controller_class() { return objc_getClass("SFSafariViewController"); }

bool is_web_url(id url) {
  if (url == nil || !msg<BOOL>(url, "isKindOfClass:", objc_getClass("NSURL"))) return false;
  id scheme = msg<id>(msg<id>(url, "scheme"), "lowercaseString");
  return msg<BOOL>(scheme, "isEqualToString:", NSSTR("http")) ||
         msg<BOOL>(scheme, "isEqualToString:", NSSTR("https"));
}

id init_with_url(id self, SEL, id url) {
  if (!is_web_url(url)) {
    msg<void>(self, "release");
    objc::raise("NSInvalidArgumentException",
                "The specified URL has an unsupported scheme. Only HTTP and HTTPS URLs are "
                "supported.");
  }
  self = objc::msg_super<id>(self, controller_class(), objc::sel("init"));
  if (self != nil) kURL.of(self) = Ref::adopt(msg<id>(url, "copy"));
  return self;
}
id url(id self, SEL) { return kURL.of(self); }
id control_tint(id self, SEL) { return kControlTint.of(self); }
void set_control_tint(id self, SEL, id color) { kControlTint.of(self) = Ref::retain(color); }
id bar_tint(id self, SEL) { return kBarTint.of(self); }
void set_bar_tint(id self, SEL, id color) { kBarTint.of(self) = Ref::retain(color); }

// The page sits between a bar with the address and a toolbar; both take
// the bar tint as their background and the control tint for their buttons.
void load_view(id self, SEL) {
  Class view_class = objc_getClass("UIView");
  const CGRect screen = CGRectMake(0, 0, 375, 812);
  Ref root = Ref::adopt(msg<id>(msg<id>(view_class, "alloc"), "initWithFrame:", screen));
  for (const CGRect frame : {CGRectMake(0, 0, 375, 88), CGRectMake(0, 729, 375, 83)}) {
    Ref bar = Ref::adopt(msg<id>(msg<id>(view_class, "alloc"), "initWithFrame:", frame));
    msg<void>(bar, "setBackgroundColor:", kBarTint.of(self).get());
    msg<void>(bar, "setTintColor:", kControlTint.of(self).get());
    msg<void>(root, "addSubview:", bar.get());
  }
  msg<void>(self, "setView:", root.get());
}

}  // namespace

void define_safari_classes() {
  objc::ClassDefinition("SFSafariViewController", objc_getClass("UIViewController"))
      .member<Ref>("_URL")
      .member<Ref>("_preferredControlTintColor")
      .member<Ref>("_preferredBarTintColor")
      .method("initWithURL:", init_with_url)
      .method("URL", url)
      .method("preferredControlTintColor", control_tint)
      .method("setPreferredControlTintColor:", set_control_tint)
      .method("preferredBarTintColor", bar_tint)
      .method("setPreferredBarTintColor:", set_bar_tint)
      .method("loadView", load_view)
      .finish();
}

}  // namespace sf
