#include "overrides/system/grey_color.h"

#include "core/settings.h"
#include "overrides/system/grey_choice.h"

namespace tenebra {

SavedImplementation<id(id, SEL, double, double)> saved_color_with_white;

id color_with_white(id self, SEL _cmd, double white, double alpha) {
  if (settings.enabled) {
    if (const auto replaced = replaced_white(white, alpha)) white = *replaced;
  }
  return saved_color_with_white(self, _cmd, white, alpha);
}

}  // namespace tenebra
