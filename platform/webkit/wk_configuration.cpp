#include "platform/webkit/wk_configuration.h"

#include <string>
#include <vector>

#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"

namespace webkit {
namespace {

using objc::msg;
using objc::Ref;

const objc::Member<Ref> kSource{"WKUserScript", "_source"};
const objc::Member<long> kInjectionTime{"WKUserScript", "_injectionTime"};
const objc::Member<BOOL> kForMainFrameOnly{"WKUserScript", "_forMainFrameOnly"};

const objc::Member<std::vector<Ref>> kUserScripts{"WKUserContentController", "_userScripts"};

const objc::Member<Ref> kUserContentController{"WKWebViewConfiguration", "_userContentController"};

bool is_kind_of(id object, const char* class_name) {
  return objc::is_kind_of(object, objc_getClass(class_name));
}

// ---- WKUserScript ---------------------------------------------------------

// An initialiser that raises gives its instance back first, so the caller's
// alloc leaks nothing.
id user_script_init(id self, SEL, id source, long injection_time, BOOL for_main_frame_only) {
  if (!ns::is_string(source)) {
    msg<void>(self, "release");
    objc::raise("NSInvalidArgumentException",
                "-[WKUserScript initWithSource:injectionTime:forMainFrameOnly:]: source must be "
                "a string");
  }
  kSource.of(self) = Ref::adopt(msg<id>(source, "copy"));
  kInjectionTime.of(self) = injection_time;
  kForMainFrameOnly.of(self) = for_main_frame_only;
  return self;
}
id user_script_source(id self, SEL) { return kSource.of(self); }
long user_script_injection_time(id self, SEL) { return kInjectionTime.of(self); }
BOOL user_script_for_main_frame_only(id self, SEL) { return kForMainFrameOnly.of(self); }

// ---- WKUserContentController ------------------------------------------------

void controller_add_user_script(id self, SEL, id script) {
  if (!is_kind_of(script, "WKUserScript")) {
    objc::raise("NSInvalidArgumentException",
                "-[WKUserContentController addUserScript:]: the argument is no WKUserScript");
  }
  kUserScripts.of(self).push_back(Ref::retain(script));
}
// A new array, so the answer stays as it is while scripts are added.
id controller_user_scripts(id self, SEL) {
  std::vector<id> items;
  for (const Ref& script : kUserScripts.of(self)) items.push_back(script.get());
  return ns::array(items);
}
void controller_remove_all_user_scripts(id self, SEL) { kUserScripts.of(self).clear(); }

// ---- WKWebViewConfiguration -------------------------------------------------

id configuration_init(id self, SEL) {
  self = objc::msg_super<id>(self, objc_getClass("WKWebViewConfiguration"), objc::sel("init"));
  if (self == nil) return nil;
  kUserContentController.of(self) =
      Ref::adopt(msg<id>(objc_getClass("WKUserContentController"), "new"));
  return self;
}
id configuration_user_content_controller(id self, SEL) { return kUserContentController.of(self); }
void configuration_set_user_content_controller(id self, SEL, id controller) {
  if (!is_kind_of(controller, "WKUserContentController")) {
    objc::raise("NSInvalidArgumentException",
                "-[WKWebViewConfiguration setUserContentController:]: the argument is no "
                "WKUserContentController");
  }
  kUserContentController.of(self) = Ref::retain(controller);
}
id configuration_copy(id self, SEL, void*) {
  id copy = msg<id>(objc_getClass("WKWebViewConfiguration"), "new");
  kUserContentController.of(copy) = kUserContentController.of(self);
  return copy;
}

}  // namespace

void define_configuration_classes() {
  Class object = objc_getClass("NSObject");
  objc::ClassDefinition("WKUserScript", object)
      .member<Ref>("_source")
      .member<long>("_injectionTime")
      .member<BOOL>("_forMainFrameOnly")
      .method("initWithSource:injectionTime:forMainFrameOnly:", user_script_init)
      .method("source", user_script_source)
      .method("injectionTime", user_script_injection_time)
      .method("isForMainFrameOnly", user_script_for_main_frame_only)
      .finish();
  objc::ClassDefinition("WKUserContentController", object)
      .member<std::vector<Ref>>("_userScripts")
      .method("addUserScript:", controller_add_user_script)
      .method("userScripts", controller_user_scripts)
      .method("removeAllUserScripts", controller_remove_all_user_scripts)
      .finish();
  objc::ClassDefinition("WKWebViewConfiguration", object)
      .member<Ref>("_userContentController")
      .method("init", configuration_init)
      .method("userContentController", configuration_user_content_controller)
      .method("setUserContentController:", configuration_set_user_content_controller)
      .method("copyWithZone:", configuration_copy)
      .finish();
}

}  // namespace webkit
