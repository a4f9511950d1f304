// UIColor(Kestrow): each method reads its colors by message, calls the pure
// operation of color.h and answers a new autoreleased color made by message.
#include "toolkit/color/ui_color_kestrow.h"

#include <cstdint>
#include <string>

#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "toolkit/color/color.h"
#include "toolkit/color/platform_color.h"

namespace toolkit {

namespace {

using objc::msg;

Class color_class() { return objc_getClass("UIColor"); }

// Raises NSInvalidArgumentException for an argument of the wrong kind.
[[noreturn]] void refuse_argument(const char* method, const char* what, id argument) {
  const std::string reason = std::string(method) + ": " + what + object_getClassName(argument);
  id name = msg<id>(objc_getClass("NSString"), "stringWithUTF8String:", "NSInvalidArgumentException");
  id text = msg<id>(objc_getClass("NSString"), "stringWithUTF8String:", reason.c_str());
  msg<void>(msg<id>(objc_getClass("NSException"), "exceptionWithName:reason:userInfo:", name, text,
                    nil),
            "raise");
  __builtin_unreachable();
}

// + (UIColor*)km_UIColorFromHex:(NSString*)text. The first character is
// skipped and one hexadecimal integer scanned, as NSScanner reads it. A nil
// or empty text, which the scanner cannot be positioned in, reads as no
// digits: opaque black.
id km_color_from_hex(id, SEL, id text) {
  if (text != nil && !msg<BOOL>(text, "isKindOfClass:", objc_getClass("NSString"))) {
    refuse_argument("+[UIColor km_UIColorFromHex:]", "not a text: ", text);
  }
  unsigned int value = 0;
  if (msg<unsigned long>(text, "length") > 0) {
    id scanner = msg<id>(objc_getClass("NSScanner"), "scannerWithString:", text);
    msg<void>(scanner, "setScanLocation:", 1UL);
    msg<BOOL>(scanner, "scanHexInt:", &value);
  }
  return make_ui_color(color_from_hex_value(value));
}

// + (NSString*)km_hexStringFromColor:(UIColor*)color; nil for nil.
id km_hex_string_from_color(id, SEL, id color) {
  if (color == nil) return nil;
  if (!msg<BOOL>(color, "isKindOfClass:", color_class())) {
    refuse_argument("+[UIColor km_hexStringFromColor:]", "not a colour: ", color);
  }
  const auto value = color_of(color);
  if (!value) return nil;
  return msg<id>(objc_getClass("NSString"), "stringWithUTF8String:", color_text(*value).c_str());
}

BOOL is_light_color(id self, SEL) {
  const auto value = color_of(self);
  return value && is_light(*value) ? YES : NO;
}

id offset_color_method(id self, SEL) {
  const auto value = color_of(self);
  if (!value || value->count() < 2) return self;
  id offset = make_ui_color(offset_color(*value));
  return offset != nil ? offset : self;
}

id lighter_color_method(id self, SEL) {
  const auto value = color_of(self);
  if (!value) return nil;
  const auto lighter = lighter_color(*value);
  return lighter ? make_ui_color(*lighter) : nil;
}

id darker_color_method(id self, SEL) {
  const auto value = color_of(self);
  if (!value) return nil;
  const auto darker = darker_color(*value);
  return darker ? make_ui_color(*darker) : nil;
}

}  // namespace

void register_color_category() {
  objc::ClassDefinition::extend(color_class())
      .class_method("km_UIColorFromHex:", km_color_from_hex)
      .class_method("km_hexStringFromColor:", km_hex_string_from_color)
      .method("isLightColor", is_light_color)
      .method("offsetColor", offset_color_method)
      .method("lighterColor", lighter_color_method)
      .method("darkerColor", darker_color_method);
}

}  // namespace toolkit
