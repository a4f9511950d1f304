#include "platform/foundation/ns_exception.h"

#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/exception.h"

namespace ns {
namespace {

const objc::Member<Ref> kName{"NSException", "_name"};
const objc::Member<Ref> kReason{"NSException", "_reason"};
const objc::Member<Ref> kUserInfo{"NSException", "_userInfo"};

id init_with_name(id self, SEL, id name, id reason, id user_info) {
  kName.of(self) = Ref::retain(name);
  kReason.of(self) = Ref::retain(reason);
  kUserInfo.of(self) = Ref::retain(user_info);
  return self;
}
id exception_with_name(id self, SEL, id name, id reason, id user_info) {
  id exception = msg<id>(self, "alloc");
  return autorelease(init_with_name(exception, nullptr, name, reason, user_info));
}
id name(id self, SEL) { return kName.of(self); }
id reason(id self, SEL) { return kReason.of(self); }
id user_info(id self, SEL) { return kUserInfo.of(self); }
// As on the device, an exception describes itself by its reason.
id description(id self, SEL) {
  return kReason.of(self) ? kReason.of(self).get() : kName.of(self).get();
}
void raise_exception(id self, SEL) { throw objc::Exception(Ref::retain(self)); }

}  // namespace

void define_exception_classes() {
  objc::ClassDefinition("NSException", objc_getClass("NSObject"))
      .member<Ref>("_name")
      .member<Ref>("_reason")
      .member<Ref>("_userInfo")
      .class_method("exceptionWithName:reason:userInfo:", exception_with_name)
      .method("initWithName:reason:userInfo:", init_with_name)
      .method("name", name)
      .method("reason", reason)
      .method("userInfo", user_info)
      .method("description", description)
      .method("raise", raise_exception)
      .finish();
}

std::string exception_name(id exception) { return utf8(msg<id>(exception, "name")); }
std::string exception_reason(id exception) { return utf8(msg<id>(exception, "reason")); }

}  // namespace ns
