// The rules on the app's text views and fields, its ink, its side-panel icons
// and its app-store button: text colours answer the theme's text colour, a
// text view's attributed text is recoloured, ink answers the raised-surface
// colour, a highlighted side-panel icon is tinted in the text colour and the
// app-store button's layer is filled with the raised surface after each
// drawing pass.
#pragma once

#include "core/saved_implementation.h"
#include "platform/coregraphics/geometry.h"

namespace tenebra {

using ColorGetter = id(id, SEL);

extern SavedImplementation<ColorGetter> saved_multiline_field_text_color;
extern SavedImplementation<ColorGetter> saved_text_view_text_color;
extern SavedImplementation<id(id, SEL)> saved_text_view_attributed_text;
extern SavedImplementation<ColorGetter> saved_text_field_text_color;
extern SavedImplementation<ColorGetter> saved_ink_default_color;
extern SavedImplementation<ColorGetter> saved_ink_color;
extern SavedImplementation<ColorGetter> saved_streaming_text_fill_color;
extern SavedImplementation<id(id, SEL, id)> saved_side_item_highlighted_icon;
extern SavedImplementation<void(id, SEL, CGRect)> saved_app_store_button_draw_rect;

id multiline_field_text_color(id self, SEL _cmd);
id text_view_text_color(id self, SEL _cmd);
id text_view_attributed_text(id self, SEL _cmd);
id text_field_text_color(id self, SEL _cmd);
id ink_default_color(id self, SEL _cmd);
id ink_color(id self, SEL _cmd);
id streaming_text_fill_color(id self, SEL _cmd);
// -[GOOSideViewItemCell getIconHighlightedImageForItem:]
id side_item_highlighted_icon(id self, SEL _cmd, id item);
void app_store_button_draw_rect(id self, SEL _cmd, CGRect rect);

}  // namespace tenebra
