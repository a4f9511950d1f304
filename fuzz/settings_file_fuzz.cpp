// The library's settings loader over any settings file (the same bytes stand
// in the Noctis file): it never stalls or crashes, changes a field only where
// the file holds a number under its key, and always leaves the palette set.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>

#include "core/palette.h"
#include "core/settings.h"
#include "fuzz/fuzz_check.h"
#include "platform/device/device_paths.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/property_list.h"
#include "platform/objc/message.h"
#include "toolkit/color/ui_color_kestrow.h"

namespace {

using objc::msg;

// The Boolean a dictionary's entry gives, read independently of the loader.
std::optional<bool> number_entry(id dictionary, const char* key) {
  if (!msg<BOOL>(dictionary, "isKindOfClass:", objc_getClass("NSDictionary"))) return std::nullopt;
  id value = msg<id>(dictionary, "objectForKey:", ns::string(key));
  if (!msg<BOOL>(value, "isKindOfClass:", objc_getClass("NSNumber"))) return std::nullopt;
  return msg<BOOL>(value, "boolValue") != NO;
}

std::string hex(id color) {
  return ns::utf8(msg<id>(objc_getClass("UIColor"), "km_hexStringFromColor:", color));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static device::TemporaryRoot root;
  toolkit::register_color_category();
  std::filesystem::create_directories(device::resolve("/var/mobile/Library/Preferences"));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ns::AutoreleasePool pool;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const char* path : {tenebra::kSettingsPath, tenebra::kNoctisPath}) {
    std::ofstream(device::resolve(path), std::ios::binary | std::ios::trunc) << bytes;
  }

  // Every field starts true, so that the Noctis rule applies when the file
  // leaves enabled and noctisIntegration alone.
  tenebra::settings = {1, 1, 1, 1};
  tenebra::load_settings();

  id file = ns::property_list_from_bytes(bytes);
  tenebra::Settings expected{1, 1, 1, 1};
  const std::pair<const char*, unsigned char*> fields[] = {
      {"enabled", &expected.enabled},
      {"enableDarkKeyboard", &expected.enableDarkKeyboard},
      {"colorEmail", &expected.colorEmail},
      {"noctisIntegration", &expected.noctisIntegration},
  };
  for (const auto& [key, field] : fields) {
    if (auto value = number_entry(file, key)) *field = *value;
  }
  if (expected.enabled && expected.noctisIntegration &&
      !number_entry(file, tenebra::kNoctisDarkModeKey).value_or(false)) {
    expected.enabled = 0;
  }
  const auto& actual = tenebra::settings;
  FUZZ_CHECK(actual.enabled == expected.enabled);
  FUZZ_CHECK(actual.enableDarkKeyboard == expected.enableDarkKeyboard);
  FUZZ_CHECK(actual.colorEmail == expected.colorEmail);
  FUZZ_CHECK(actual.noctisIntegration == expected.noctisIntegration);
  FUZZ_CHECK(hex(bgColor) == "#000000");
  FUZZ_CHECK(hex(lighterBgColor) == "#1B1B1B");
  FUZZ_CHECK(hex(textColor) == "#CCCCCC");
  return 0;
}
