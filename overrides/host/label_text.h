// The label rules on UILabel: the reported text colour, the reported
// attributed text, and the default attributes the label draws with.
#pragma once

#include "core/saved_implementation.h"
#include "platform/coregraphics/geometry.h"

namespace tenebra {

extern SavedImplementation<id(id, SEL)> saved_label_text_color;
extern SavedImplementation<id(id, SEL)> saved_label_attributed_text;
extern SavedImplementation<void(id, SEL, CGRect)> saved_label_draw_rect;

id label_text_color(id self, SEL _cmd);
id label_attributed_text(id self, SEL _cmd);
void label_draw_rect(id self, SEL _cmd, CGRect rect);

}  // namespace tenebra
