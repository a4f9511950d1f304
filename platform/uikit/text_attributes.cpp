#include "platform/uikit/text_attributes.h"

#include "platform/foundation/ns_string.h"

extern "C" {
id NSForegroundColorAttributeName = nil;
id NSBackgroundColorAttributeName = nil;
}

namespace ui {

void define_text_attribute_names() {
  NSForegroundColorAttributeName = ns::constant_string("NSColor");
  NSBackgroundColorAttributeName = ns::constant_string("NSBackgroundColor");
}

}  // namespace ui
