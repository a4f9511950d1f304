#include "overrides/system/safari_view.h"

#include "overrides/substitution.h"
#include "platform/objc/message.h"

namespace tenebra {

SavedImplementation<id(id, SEL, id)> saved_safari_init_with_url;

// The control tint goes on before the bar tint; no controller, no tints.
id safari_init_with_url(id self, SEL cmd, id url) {
  id controller = saved_safari_init_with_url(self, cmd, url);
  if (!theme_on()) return controller;
  objc::msg<void>(controller, "setPreferredControlTintColor:", textColor);
  objc::msg<void>(controller, "setPreferredBarTintColor:", lighterBgColor);
  return controller;
}

}  // namespace tenebra
