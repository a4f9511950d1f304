#include "overrides/system/attribute_set.h"

#include "core/palette.h"
#include "core/settings.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"
#include "platform/uikit/text_attributes.h"
#include "toolkit/color/platform_color.h"

namespace tenebra {

SavedImplementation<void(id, SEL, id, id, NSRange)> saved_add_attribute;
SavedImplementation<void(id, SEL, id, NSRange)> saved_add_attributes;
SavedImplementation<void(id, SEL, id, NSRange)> saved_set_attributes;

namespace {

using objc::msg;

bool is_kind_of_class(id object, const char* class_name) {
  return msg<BOOL>(object, "isKindOfClass:", objc_getClass(class_name));
}

// A new mutable copy of the caller's dictionary with the theme's text
// colour as its foreground (owned by the caller).
id with_text_color(id attributes) {
  id copy = msg<id>(attributes, "mutableCopy");
  msg<void>(copy, "setObject:forKeyedSubscript:", textColor, NSForegroundColorAttributeName);
  return copy;
}

// Whether the value is a colour whose colour text is the highlight's. A
// value that is not a colour has no colour text and matches nothing.
bool is_highlight(id value) {
  if (!is_kind_of_class(value, "UIColor")) return false;
  const auto color = toolkit::color_of(value);
  return color && toolkit::color_text(*color) == kHighlightBackgroundText;
}

}  // namespace

void add_attribute(id self, SEL _cmd, id name, id value, NSRange range) {
  if (settings.enabled && msg<BOOL>(name, "isEqual:", NSForegroundColorAttributeName)) {
    value = textColor;
  }
  saved_add_attribute(self, _cmd, name, value, range);
}

void add_attributes(id self, SEL _cmd, id attributes, NSRange range) {
  if (!settings.enabled || !is_kind_of_class(attributes, "NSDictionary")) {
    return saved_add_attributes(self, _cmd, attributes, range);
  }
  const objc::Ref copy = objc::Ref::adopt(with_text_color(attributes));
  if (is_highlight(msg<id>(copy, "objectForKeyedSubscript:", NSBackgroundColorAttributeName))) {
    msg<void>(copy, "setObject:forKeyedSubscript:", msg<id>(textColor, "offsetColor"),
              NSBackgroundColorAttributeName);
  }
  saved_add_attributes(self, _cmd, copy, range);
}

void set_attributes(id self, SEL _cmd, id attributes, NSRange range) {
  if (!settings.enabled || !is_kind_of_class(attributes, "NSDictionary")) {
    return saved_set_attributes(self, _cmd, attributes, range);
  }
  const objc::Ref copy = objc::Ref::adopt(with_text_color(attributes));
  saved_set_attributes(self, _cmd, copy, range);
}

}  // namespace tenebra
