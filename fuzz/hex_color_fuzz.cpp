// Hex colour texts, as the rules read them from any text the app hands over
// (km_UIColorFromHex:, through NSScanner's scanHexInt:): whatever the UTF-16
// units, the colour is opaque RGB with channels in whole 255ths, it is the
// colour of the scan's value, and its colour text reads back as the same
// colour.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/foundation/hex_scan.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"
#include "toolkit/color/color.h"
#include "toolkit/color/platform_color.h"
#include "toolkit/color/ui_color_kestrow.h"

namespace {

using objc::msg;

bool whole_255th(double channel) {
  const double scaled = channel * 255.0;
  return channel >= 0.0 && channel <= 1.0 &&
         scaled == static_cast<double>(static_cast<int>(scaled));
}

id color_from_hex(id text) { return msg<id>(objc_getClass("UIColor"), "km_UIColorFromHex:", text); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  toolkit::register_color_category();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ns::AutoreleasePool pool;
  // Two bytes a unit, so lone surrogates and every other unit occur.
  std::u16string units(size / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  }

  const ns::HexScan scan = ns::scan_hex_int(units, 1);
  FUZZ_CHECK(scan.found ? scan.end > 1 && scan.end <= units.size() : scan.value == 0);
  const toolkit::Color expected = toolkit::color_from_hex_value(scan.value);

  id object = color_from_hex(ns::string(units));
  const auto read = toolkit::color_of(object);
  FUZZ_CHECK(read.has_value() && *read == expected);
  const toolkit::Color color = *read;
  FUZZ_CHECK(color.model() == toolkit::ColorModel::kRgb && color.alpha() == 1.0);
  for (std::size_t i = 0; i < 3; ++i) FUZZ_CHECK(whole_255th(color.at(i)));

  id text = msg<id>(objc_getClass("UIColor"), "km_hexStringFromColor:", object);
  FUZZ_CHECK(ns::utf8(text).size() == 7);
  FUZZ_CHECK(toolkit::color_of(color_from_hex(text)) == color);
  return 0;
}
