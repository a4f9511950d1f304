#include "core/host_interface.h"

#include "platform/coregraphics/cg_color.h"
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

bool class_is_kind_of(Class cls, Class ancestor) {
  if (ancestor == Nil) return false;
  for (; cls != Nil; cls = class_getSuperclass(cls)) {
    if (cls == ancestor) return true;
  }
  return false;
}

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

std::optional<cg::ColorComponents> colour_components(id colour) {
  static SEL cg_color = objc::sel("CGColor");
  if (!objc::responds(colour, cg_color)) return std::nullopt;
  CGColorRef value = msg<CGColorRef>(colour, cg_color);
  if (value == nullptr) return std::nullopt;
  const std::size_t count = CGColorGetNumberOfComponents(value);
  const double* components = CGColorGetComponents(value);
  switch (CGColorSpaceGetModel(CGColorGetColorSpace(value))) {
    case kCGColorSpaceModelRGB:
      return cg::ColorComponents::rgb(components[0], components[1], components[2],
                                            components[3]);
    case kCGColorSpaceModelMonochrome:
      return cg::ColorComponents::grey(components[0], components[1]);
    default:
      return cg::ColorComponents::other({components, count});
  }
}

}  // namespace tenebra
