#include "core/palette.h"

#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"

extern "C" {
id bgColor = nil;
id lighterBgColor = nil;
id textColor = nil;
}

namespace tenebra {
namespace {

void set_palette_color(id& slot, const char* hex) {
  id color = objc::msg<id>(objc_getClass("UIColor"), "km_UIColorFromHex:", ns::string(hex));
  objc::retain_object(color);
  objc::release_object(slot);
  slot = color;
}

}  // namespace

void rebuild_palette() {
  set_palette_color(bgColor, kBgColorHex);
  set_palette_color(lighterBgColor, kLighterBgColorHex);
  set_palette_color(textColor, kTextColorHex);
}

}  // namespace tenebra
