// The attribute-set rules on NSMutableAttributedString: addAttribute:value:
// range:, addAttributes:range: and setAttributes:range: give the text they
// set the theme's text colour, and addAttributes:range: turns the app's pale
// yellow highlight background into the text colour's offset colour.
#pragma once

#include "core/saved_implementation.h"
#include "platform/foundation/foundation_types.h"

namespace tenebra {

extern SavedImplementation<void(id, SEL, id, id, NSRange)> saved_add_attribute;
extern SavedImplementation<void(id, SEL, id, NSRange)> saved_add_attributes;
extern SavedImplementation<void(id, SEL, id, NSRange)> saved_set_attributes;

void add_attribute(id self, SEL _cmd, id name, id value, NSRange range);
void add_attributes(id self, SEL _cmd, id attributes, NSRange range);
void set_attributes(id self, SEL _cmd, id attributes, NSRange range);

// The highlight background the app puts behind search matches.
inline constexpr const char* kHighlightBackgroundText = "#FDFAD3";

}  // namespace tenebra
