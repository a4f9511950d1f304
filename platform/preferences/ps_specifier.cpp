#include "platform/preferences/ps_specifier.h"

#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/type_encoding.h"
#include "platform/preferences/preferences.h"

namespace ps {
namespace {

using objc::msg;
using objc::Ref;

const objc::Member<Ref> kName{"PSSpecifier", "_name"};
const objc::Member<Ref> kProperties{"PSSpecifier", "_properties"};
const objc::Member<id> kTarget{"PSSpecifier", "target"};
const objc::Member<SEL> kGetter{"PSSpecifier", "getter"};
const objc::Member<SEL> kSetter{"PSSpecifier", "setter"};
const objc::Member<SEL> kAction{"PSSpecifier", "action"};
const objc::Member<Class> kDetail{"PSSpecifier", "detailControllerClass"};
const objc::Member<long> kCellType{"PSSpecifier", "cellType"};

id properties(id self, SEL) {
  Ref& stored = kProperties.of(self);
  if (!stored) stored = Ref::adopt(msg<id>(objc_getClass("NSMutableDictionary"), "new"));
  return stored;
}
void set_properties(id self, SEL, id dictionary) {
  kProperties.of(self) =
      ns::is_dictionary(dictionary) ? Ref::adopt(msg<id>(dictionary, "mutableCopy")) : Ref();
}
id property_for_key(id self, SEL, id key) {
  return msg<id>(properties(self, nullptr), "objectForKey:", key);
}
void set_property(id self, SEL, id value, id key) {
  if (key == nil) return;
  if (value == nil) {
    msg<void>(properties(self, nullptr), "removeObjectForKey:", key);
  } else {
    msg<void>(properties(self, nullptr), "setObject:forKey:", value, key);
  }
}
void remove_property(id self, SEL, id key) { set_property(self, nullptr, nil, key); }

id name(id self, SEL) { return kName.of(self); }
void set_name(id self, SEL, id text) { kName.of(self) = Ref::adopt(msg<id>(text, "copy")); }
// The "id" property, else the title, as the framework answers.
id identifier(id self, SEL) {
  id given = property_for_key(self, nullptr, NSSTR("id"));
  return given != nil ? given : kName.of(self).get();
}
void set_identifier(id self, SEL, id text) { set_property(self, nullptr, text, NSSTR("id")); }

id target(id self, SEL) { return kTarget.of(self); }
void set_target(id self, SEL, id object) { kTarget.of(self) = object; }
long cell_type(id self, SEL) { return kCellType.of(self); }
void set_cell_type(id self, SEL, long type) { kCellType.of(self) = type; }
SEL button_action(id self, SEL) { return kAction.of(self); }
void set_button_action(id self, SEL, SEL action) { kAction.of(self) = action; }
Class detail_controller_class(id self, SEL) { return kDetail.of(self); }
void set_detail_controller_class(id self, SEL, Class cls) { kDetail.of(self) = cls; }

id make(id self, id title, id object, SEL setter, SEL getter, Class detail, long type) {
  id specifier = ns::autorelease(msg<id>(self, "new"));
  set_name(specifier, nullptr, title);
  kTarget.of(specifier) = object;
  kSetter.of(specifier) = setter;
  kGetter.of(specifier) = getter;
  kDetail.of(specifier) = detail;
  kCellType.of(specifier) = type;
  return specifier;
}
id preference_specifier(id self, SEL, id title, id object, SEL setter, SEL getter, Class detail,
                        long type, Class) {
  return make(self, title, object, setter, getter, detail, type);
}
id group_specifier_with_name(id self, SEL, id title) {
  return make(self, title, nil, nullptr, nullptr, Nil, PSGroupCell);
}
id empty_group_specifier(id self, SEL) {
  return make(self, nil, nil, nullptr, nullptr, Nil, PSGroupCell);
}

id perform_getter(id self, SEL) {
  id object = kTarget.of(self);
  SEL getter = kGetter.of(self);
  if (getter == nullptr || !answers_with(object, getter, "@@:@")) return nil;
  return msg<id>(object, getter, self);
}
void perform_setter(id self, SEL, id value) {
  id object = kTarget.of(self);
  SEL setter = kSetter.of(self);
  if (setter == nullptr || !answers_with(object, setter, "v@:@@")) return;
  msg<void>(object, setter, value, self);
}

id description(id self, SEL) {
  return ns::string("<PSSpecifier " + ns::utf8(kName.of(self)) + ">");
}

}  // namespace

bool answers_with(id target, SEL selector, const char* encoding) {
  if (target == nil || selector == nullptr) return false;
  Method method = class_getInstanceMethod(object_getClass(target), selector);
  return method != nullptr && objc::same_signature(method_getTypeEncoding(method), encoding);
}

void define_specifier_class() {
  objc::ClassDefinition("PSSpecifier", objc_getClass("NSObject"))
      .member<id>("target")
      .member<SEL>("getter")
      .member<SEL>("setter")
      .member<SEL>("action")
      .member<Class>("detailControllerClass")
      .member<long>("cellType")
      .member<Ref>("_name")
      .member<Ref>("_properties")
      .class_method("preferenceSpecifierNamed:target:set:get:detail:cell:edit:",
                    preference_specifier)
      .class_method("groupSpecifierWithName:", group_specifier_with_name)
      .class_method("emptyGroupSpecifier", empty_group_specifier)
      .method("properties", properties)
      .method("setProperties:", set_properties)
      .method("propertyForKey:", property_for_key)
      .method("setProperty:forKey:", set_property)
      .method("removePropertyForKey:", remove_property)
      .method("name", name)
      .method("setName:", set_name)
      .method("identifier", identifier)
      .method("setIdentifier:", set_identifier)
      .method("target", target)
      .method("setTarget:", set_target)
      .method("cellType", cell_type)
      .method("setCellType:", set_cell_type)
      .method("buttonAction", button_action)
      .method("setButtonAction:", set_button_action)
      .method("detailControllerClass", detail_controller_class)
      .method("setDetailControllerClass:", set_detail_controller_class)
      .method("performGetter", perform_getter)
      .method("performSetterWithValue:", perform_setter)
      .method("description", description)
      .finish();
}

}  // namespace ps
