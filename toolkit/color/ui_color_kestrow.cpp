// UIColor(Kestrow): each method gathers the colour values, calls the pure
// operation of color.h and wraps the result in a new autoreleased colour.
#include "toolkit/color/ui_color_kestrow.h"

#include <optional>
#include <string>

#include "platform/foundation/ns_string.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"
#include "platform/uikit/ui_color.h"
#include "toolkit/color/color.h"

namespace toolkit {

namespace {

using objc::msg;

Class color_class() { return objc_getClass("UIColor"); }

// The result of lighterColor and darkerColor, made as the platform makes a
// colour from HSB values.
id color_from_hsb(const std::optional<cg::Hsba>& hsba) {
  if (!hsba) return nil;
  return msg<id>(color_class(), "colorWithHue:saturation:brightness:alpha:", hsba->hue,
                 hsba->saturation, hsba->brightness, hsba->alpha);
}

// + (UIColor*)km_UIColorFromHex:(NSString*)text. A nil text reads as an empty
// one: opaque black.
id km_color_from_hex(id, SEL, id text) {
  if (text != nil && !ns::is_string(text)) {
    objc::raise(
        "NSInvalidArgumentException",
        std::string("+[UIColor km_UIColorFromHex:]: not a text: ") + objc::class_name_of(text));
  }
  const std::u16string_view characters =
      text == nil ? std::u16string_view{} : std::u16string_view{ns::characters(text)};
  return ui::make_color(color_from_hex(characters));
}

// + (NSString*)km_hexStringFromColor:(UIColor*)color; nil for nil.
id km_hex_string_from_color(id, SEL, id color) {
  if (color == nil) return nil;
  if (!ui::is_color(color)) {
    objc::raise("NSInvalidArgumentException",
                std::string("+[UIColor km_hexStringFromColor:]: not a colour: ") +
                    objc::class_name_of(color));
  }
  return ns::string(color_text(ui::color_value(color)).view());
}

BOOL is_light_color(id self, SEL) { return is_light(ui::color_value(self)) ? YES : NO; }

id offset_color_method(id self, SEL) {
  const ColorComponents& value = ui::color_value(self);
  if (value.count() < 2) return self;
  id partner =
      msg<id>(color_class(), msg<BOOL>(self, "isLightColor") ? "blackColor" : "whiteColor");
  const auto mixed = halfway(value, ui::color_value(partner));
  return mixed ? ui::make_color(*mixed) : self;
}

id lighter_color_method(id self, SEL) { return color_from_hsb(lighter_hsb(ui::color_value(self))); }

id darker_color_method(id self, SEL) { return color_from_hsb(darker_hsb(ui::color_value(self))); }

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
