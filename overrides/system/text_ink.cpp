#include "overrides/system/text_ink.h"

#include "core/palette.h"
#include "core/settings.h"
#include "overrides/system/app_image.h"
#include "platform/coregraphics/cg_color.h"
#include "platform/objc/message.h"

namespace tenebra {

SavedImplementation<ColorGetter> saved_multiline_field_text_color;
SavedImplementation<ColorGetter> saved_text_view_text_color;
SavedImplementation<id(id, SEL)> saved_text_view_attributed_text;
SavedImplementation<ColorGetter> saved_text_field_text_color;
SavedImplementation<ColorGetter> saved_ink_default_color;
SavedImplementation<ColorGetter> saved_ink_color;
SavedImplementation<ColorGetter> saved_streaming_text_fill_color;
SavedImplementation<id(id, SEL, id)> saved_side_item_highlighted_icon;
SavedImplementation<void(id, SEL, CGRect)> saved_app_store_button_draw_rect;

namespace {

using objc::msg;

// Result substitution: the palette colour while the theme is on.
id themed(const SavedImplementation<ColorGetter>& saved, id self, SEL cmd, id theme_color) {
  return settings.enabled ? theme_color : saved(self, cmd);
}

}  // namespace

id multiline_field_text_color(id self, SEL _cmd) {
  return themed(saved_multiline_field_text_color, self, _cmd, textColor);
}
id text_view_text_color(id self, SEL _cmd) {
  return themed(saved_text_view_text_color, self, _cmd, textColor);
}
id text_field_text_color(id self, SEL _cmd) {
  return themed(saved_text_field_text_color, self, _cmd, textColor);
}
id ink_default_color(id self, SEL _cmd) {
  return themed(saved_ink_default_color, self, _cmd, lighterBgColor);
}
id ink_color(id self, SEL _cmd) { return themed(saved_ink_color, self, _cmd, lighterBgColor); }
id streaming_text_fill_color(id self, SEL _cmd) {
  return themed(saved_streaming_text_fill_color, self, _cmd, textColor);
}

id text_view_attributed_text(id self, SEL _cmd) {
  const bool enabled = settings.enabled;
  id text = saved_text_view_attributed_text(self, _cmd);
  return enabled ? msg<id>(text, "replaceColorsWith:", textColor) : text;
}

id side_item_highlighted_icon(id self, SEL _cmd, id item) {
  const bool enabled = settings.enabled;
  id icon = saved_side_item_highlighted_icon(self, _cmd, item);
  return themed_app_image(
      icon, enabled, [icon](AppImageSize) { return msg<id>(icon, "imageWithTint:", textColor); });
}

// The button's layer is filled after its own drawing. Only a layer that
// answers setFillColor: (a shape layer) is sent it: a plain layer would
// raise inside the app's drawing pass.
void app_store_button_draw_rect(id self, SEL _cmd, CGRect rect) {
  saved_app_store_button_draw_rect(self, _cmd, rect);
  if (!settings.enabled) return;
  id layer = msg<id>(self, "layer");
  if (!msg<BOOL>(layer, "respondsToSelector:", objc::sel("setFillColor:"))) return;
  msg<void>(layer, "setFillColor:", msg<CGColorRef>(lighterBgColor, "CGColor"));
}

}  // namespace tenebra
