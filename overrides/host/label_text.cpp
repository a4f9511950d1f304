#include "overrides/host/label_text.h"

#include "core/host_interface.h"
#include "core/palette.h"
#include "core/settings.h"
#include "overrides/host/label_choice.h"
#include "platform/objc/message.h"
#include "platform/uikit/text_attributes.h"

namespace tenebra {

SavedImplementation<id(id, SEL)> saved_label_text_color;
SavedImplementation<id(id, SEL)> saved_label_attributed_text;
SavedImplementation<void(id, SEL, CGRect)> saved_label_draw_rect;

namespace {

using objc::msg;

bool themes(id label) { return settings.enabled && !is_excluded_label(class_name(label)); }

// Puts the theme's text colour into the label's default attributes, unless
// they are absent, have no foreground or already have it. The member owns
// its dictionary: the new one's reference passes to it and the old one is
// released.
void recolor_default_attributes(id label) {
  id* member = member_named(label, "_defaultAttributes");
  if (member == nullptr || *member == nil) return;
  id foreground = msg<id>(*member, "objectForKeyedSubscript:", NSForegroundColorAttributeName);
  if (foreground == nil || msg<BOOL>(foreground, "isEqual:", textColor)) return;
  id replacement = msg<id>(msg<id>(objc_getClass("NSMutableDictionary"), "alloc"),
                           "initWithDictionary:", *member);
  msg<void>(replacement, "setObject:forKeyedSubscript:", textColor, NSForegroundColorAttributeName);
  id previous = *member;
  *member = replacement;
  msg<void>(previous, "release");
}

}  // namespace

id label_text_color(id self, SEL _cmd) {
  return themes(self) ? textColor : saved_label_text_color(self, _cmd);
}

id label_attributed_text(id self, SEL _cmd) {
  id text = saved_label_attributed_text(self, _cmd);
  return themes(self) ? msg<id>(text, "replaceColorsWith:", textColor) : text;
}

void label_draw_rect(id self, SEL _cmd, CGRect rect) {
  if (settings.enabled) recolor_default_attributes(self);
  saved_label_draw_rect(self, _cmd, rect);
}

}  // namespace tenebra
