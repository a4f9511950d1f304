#include "core/host_interface.h"

#include "platform/objc/message.h"

namespace tenebra {

using objc::msg;

const char* class_name(id object) {
  return object == nil ? nullptr : class_getName(object_getClass(object));
}

bool is_kind_of(id object, Class cls) {
  static SEL is_kind_of_class = objc::sel("isKindOfClass:");
  return cls != Nil && msg<BOOL>(object, is_kind_of_class, cls);
}

bool class_is_kind_of(Class cls, Class ancestor) { return objc::class_is_kind_of(cls, ancestor); }

id owning_responder(id view) {
  static SEL next_responder = objc::sel("nextResponder");
  static Class view_class = objc_getClass("UIView");
  id responder = msg<id>(view, next_responder);
  while (responder != nil && is_kind_of(responder, view_class)) {
    responder = msg<id>(responder, next_responder);
  }
  return responder;
}

id* member_named(id object, const char* name) {
  if (object == nil) return nullptr;
  Ivar ivar = class_getInstanceVariable(object_getClass(object), name);
  const char* type = ivar == nullptr ? nullptr : ivar_getTypeEncoding(ivar);
  if (type == nullptr || type[0] != '@') return nullptr;
  return reinterpret_cast<id*>(reinterpret_cast<char*>(object) + ivar_getOffset(ivar));
}

}  // namespace tenebra
