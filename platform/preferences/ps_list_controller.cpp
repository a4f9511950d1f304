#include "platform/preferences/ps_list_controller.h"

#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_log.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/property_list.h"
#include "platform/preferences/preferences.h"
#include "platform/preferences/ps_specifier.h"
#include "platform/preferences/specifier_plist.h"

namespace ps {
namespace {

using objc::msg;
using objc::Ref;

const objc::Member<Ref> kSpecifier{"PSViewController", "_specifier"};
const objc::Member<id> kSpecifiers{"PSListController", "_specifiers"};

Class list_controller_class() { return objc_getClass("PSListController"); }

id specifier(id self, SEL) { return kSpecifier.of(self); }
void set_specifier(id self, SEL, id value) { kSpecifier.of(self) = Ref::retain(value); }

void dealloc(id self, SEL) {
  objc::release_object(kSpecifiers.of(self));
  kSpecifiers.of(self) = nil;
  objc::msg_super<void>(self, list_controller_class(), objc::sel("dealloc"));
}

id specifiers(id self, SEL) { return kSpecifiers.of(self); }

id bundle(id self, SEL) {
  return msg<id>(objc_getClass("NSBundle"), "bundleForClass:", object_getClass(self));
}

id load_specifiers(id self, SEL, id name, id target) {
  id page_bundle = bundle(self, nullptr);
  id path = msg<id>(page_bundle, "pathForResource:ofType:", name, NSSTR("plist"));
  id plist = ns::is_string(path) ? ns::read_property_list(ns::utf8(path)) : nil;
  if (plist == nil) NSLog(NSSTR("Preferences: cannot read %@.plist in %@"), name, page_bundle);
  id title = ns::is_dictionary(plist) ? msg<id>(plist, "objectForKey:", NSSTR("title")) : nil;
  if (ns::is_string(title)) msg<void>(self, "setTitle:", title);
  return specifiers_from_plist(plist, target, page_bundle, name);
}

id read_preference_value(id, SEL, id specifier) {
  return msg<id>(specifier, "propertyForKey:", NSSTR("default"));
}
void set_preference_value(id, SEL, id, id) {}

id specifier_for_id(id self, SEL, id identifier) {
  for (id candidate : ns::array_items(msg<id>(self, "specifiers"))) {
    if (msg<BOOL>(msg<id>(candidate, "identifier"), "isEqual:", identifier)) return candidate;
  }
  return nil;
}

BOOL perform_action(id, SEL, id specifier) {
  id target = msg<id>(specifier, "target");
  SEL action = msg<SEL>(specifier, "buttonAction");
  if (msg<long>(specifier, "cellType") != PSButtonCell || action == nullptr) return NO;
  if (answers_with(target, action, "v@:")) {
    msg<void>(target, action);
  } else if (answers_with(target, action, "v@:@")) {
    msg<void>(target, action, specifier);
  } else {
    NSLog(NSSTR("Preferences: %@ has no action %@"), target, NSStringFromSelector(action));
    return NO;
  }
  return YES;
}

id controller_for_specifier(id, SEL, id specifier) {
  Class detail = msg<Class>(specifier, "detailControllerClass");
  for (Class cls = detail; cls != Nil; cls = class_getSuperclass(cls)) {
    if (cls == objc_getClass("PSViewController")) {
      id made = ns::autorelease(msg<id>(detail, "new"));
      msg<void>(made, "setSpecifier:", specifier);
      return made;
    }
  }
  return nil;
}

void push_controller(id self, SEL, id controller, BOOL) {
  msg<void>(self, "addChildViewController:", controller);
}

}  // namespace

void define_list_controller_classes() {
  objc::ClassDefinition("PSViewController", objc_getClass("UIViewController"))
      .member<Ref>("_specifier")
      .method("specifier", specifier)
      .method("setSpecifier:", set_specifier)
      .method("pushController:animate:", push_controller)
      .finish();
  objc::ClassDefinition("PSListController", objc_getClass("PSViewController"))
      .member<id>("_specifiers")
      .method("dealloc", dealloc)
      .method("specifiers", specifiers)
      .method("bundle", bundle)
      .method("loadSpecifiersFromPlistName:target:", load_specifiers)
      .method("readPreferenceValue:", read_preference_value)
      .method("setPreferenceValue:specifier:", set_preference_value)
      .method("specifierForID:", specifier_for_id)
      .method("performActionForSpecifier:", perform_action)
      .method("controllerForSpecifier:", controller_for_specifier)
      .finish();
}

}  // namespace ps
