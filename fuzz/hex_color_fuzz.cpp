// Hex colour texts, as the rules read them from any text the app hands over:
// whatever the bytes, the colour is opaque RGB with channels in whole 255ths,
// and its colour text reads back as the same colour.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "platform/foundation/hex_scan.h"
#include "platform/foundation/unicode.h"
#include "toolkit/color/color.h"

namespace {

bool whole_255th(double channel) {
  const double scaled = channel * 255.0;
  return channel >= 0.0 && channel <= 1.0 && scaled == static_cast<double>(static_cast<int>(scaled));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::u16string utf16 = ns::utf16_from_utf8(text);

  const auto color = toolkit::color_from_hex(text);
  FUZZ_CHECK(color == toolkit::color_from_hex(std::u16string_view(utf16)));
  FUZZ_CHECK(color.model() == graphics::ColorModel::rgb && color.alpha() == 1.0);
  for (std::size_t i = 0; i < 3; ++i) FUZZ_CHECK(whole_255th(color.at(i)));

  const auto colour_text = toolkit::color_text(color);
  FUZZ_CHECK(colour_text.size() == 7 && colour_text.view()[0] == '#');
  FUZZ_CHECK(toolkit::color_from_hex(colour_text.view()) == color);

  // The scan under it, from every place a caller may start.
  for (std::size_t location = 0; location <= utf16.size() + 1 && location < 64; ++location) {
    const auto scan = ns::scan_hex_int(utf16, location);
    FUZZ_CHECK(scan.found ? scan.end > location && scan.end <= utf16.size()
                          : scan.end == location && scan.value == 0);
  }
  return 0;
}
