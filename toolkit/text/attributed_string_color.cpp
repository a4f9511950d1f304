#include "toolkit/text/attributed_string_color.h"

#include "platform/foundation/foundation_types.h"
#include "platform/foundation/ns_log.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"
#include "toolkit/color/platform_color.h"
#include "toolkit/text/recolor_choice.h"

// UIKit's name of the foreground colour attribute, exported data the
// library links against.
extern "C" id NSForegroundColorAttributeName;

namespace toolkit {
namespace {

using objc::msg;

id text(const char* utf8) {
  return msg<id>(objc_getClass("NSString"), "stringWithUTF8String:", utf8);
}

// The colour text of a colour. What is not a colour is refused by
// km_hexStringFromColor: with the platform's exception, as the category
// itself would be asked.
ColorText text_of(id color) {
  msg<id>(objc_getClass("UIColor"), "km_hexStringFromColor:", color);
  const auto value = color_of(color);
  return value ? color_text(*value) : ColorText{};
}

// - (NSAttributedString*)replaceColorsWith:(UIColor*)color
id replace_colors_with(id self, SEL, id color) {
  // Every caller passes a colour; without one there is nothing to compare.
  if (color == nil) return self;
  try {
    id attributes =
        msg<id>(self, "attributesAtIndex:effectiveRange:", 0UL, static_cast<NSRange*>(nullptr));
    id first = msg<id>(attributes, "objectForKeyedSubscript:", NSForegroundColorAttributeName);
    const std::optional<ColorText> first_text =
        first == nil ? std::nullopt : std::optional<ColorText>(text_of(first));
    const Recolor choice = choose_recolor(first_text, text_of(color));
    if (choice == Recolor::kKeep) return self;
    id copy = msg<id>(msg<id>(objc_getClass("NSMutableAttributedString"), "alloc"),
                      "initWithAttributedString:", self);
    id chosen = choice == Recolor::kLightBlue
                    ? msg<id>(objc_getClass("UIColor"), "km_UIColorFromHex:", text(kLightBlueHex))
                    : color;
    msg<void>(copy, "addAttribute:value:range:", NSForegroundColorAttributeName, chosen,
              NSMakeRange(0, msg<NSUInteger>(copy, "length")));
    id result = msg<id>(copy, "copy");
    msg<void>(copy, "release");
    return msg<id>(result, "autorelease");
  } catch (const objc::Exception& e) {
    NSLog(text("-----------------Exception:%@"), e.object());
    return self;
  }
}

}  // namespace

void register_attributed_string_category() {
  objc::ClassDefinition::extend(objc_getClass("NSAttributedString"))
      .method("replaceColorsWith:", replace_colors_with);
}

}  // namespace toolkit
