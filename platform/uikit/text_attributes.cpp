#include "platform/uikit/text_attributes.h"

#include "platform/foundation/ns_string.h"
#include "platform/objc/exported_objects.h"

extern "C" {
id NSForegroundColorAttributeName = nil;
id NSBackgroundColorAttributeName = nil;
id NSFontAttributeName = nil;
id NSLinkAttributeName = nil;
}

namespace ui {

void define_text_attribute_names() {
  struct Name {
    const char* symbol;
    id* global;
    const char* text;
  };
  for (const Name& name :
       {Name{"NSForegroundColorAttributeName", &NSForegroundColorAttributeName, "NSColor"},
        Name{"NSBackgroundColorAttributeName", &NSBackgroundColorAttributeName,
             "NSBackgroundColor"},
        Name{"NSFontAttributeName", &NSFontAttributeName, "NSFont"},
        Name{"NSLinkAttributeName", &NSLinkAttributeName, "NSLink"}}) {
    *name.global = ns::constant_string(name.text);
    objc::export_object(name.symbol, name.global);
  }
}

}  // namespace ui
