#include "core/settings.h"

#include <optional>

#include "core/palette.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"

namespace tenebra {

Settings settings = default_settings();

namespace {

using objc::msg;
using objc::Ref;

// A dictionary read from a property-list file, or nil when the file is
// missing, unreadable or has no dictionary at its root.
Ref read_dictionary(const char* path) {
  id dictionary = msg<id>(objc_getClass("NSMutableDictionary"), "alloc");
  return Ref::adopt(msg<id>(dictionary, "initWithContentsOfFile:", ns::string(path)));
}

// The Boolean an entry stands for: a number is true when non-zero; an absent
// entry, and one of any other kind, stands for nothing.
std::optional<bool> boolean_entry(id dictionary, const char* key) {
  id value = msg<id>(dictionary, "objectForKey:", ns::string(key));
  if (!msg<BOOL>(value, "isKindOfClass:", objc_getClass("NSNumber"))) return std::nullopt;
  return msg<BOOL>(value, "boolValue") != NO;
}

}  // namespace

void load_settings() {
  ns::AutoreleasePool pool;

  if (Ref preferences = read_dictionary(kSettingsPath)) {
    for (const SettingRow& row : kSettingRows) {
      if (auto value = boolean_entry(preferences, row.key)) settings.*row.field = *value ? 1 : 0;
    }
  }

  rebuild_palette();

  // With Noctis integration the theme is on only while Noctis's dark mode is.
  if (settings.enabled && settings.noctisIntegration) {
    Ref noctis = read_dictionary(kNoctisPath);
    if (!noctis || !boolean_entry(noctis, kNoctisDarkModeKey).value_or(false)) {
      settings.enabled = 0;
    }
  }
}

void settings_changed(CFNotificationCenterRef, void*, CFNotificationName, const void*,
                      CFDictionaryRef) {
  load_settings();
}

}  // namespace tenebra
