// The names of text attributes in attribute dictionaries, as UIKit exports
// them: constant texts that live for the process.
#pragma once

#include "platform/objc/runtime.h"

extern "C" {
// The colour the text is drawn in ("NSColor").
extern id NSForegroundColorAttributeName;
// The colour behind the text ("NSBackgroundColor").
extern id NSBackgroundColorAttributeName;
// The font ("NSFont").
extern id NSFontAttributeName;
// A link's URL or text ("NSLink").
extern id NSLinkAttributeName;
}

namespace ui {

void define_text_attribute_names();

}  // namespace ui
