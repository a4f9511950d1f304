#include "toolkit/color/hex_scan.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace toolkit {

namespace {

int hex_digit(char16_t unit) {
  if (unit >= u'0' && unit <= u'9') return unit - u'0';
  if (unit >= u'a' && unit <= u'f') return unit - u'a' + 10;
  if (unit >= u'A' && unit <= u'F') return unit - u'A' + 10;
  return -1;
}

char16_t unit_at(std::u16string_view text, std::size_t index) {
  return index < text.size() ? text[index] : u'\0';
}

}  // namespace

bool is_scanner_blank(char16_t unit) {
  // The separators of Unicode category Z outside the two ranges below.
  static constexpr char16_t kSeparators[] = {0x0020, 0x0085, 0x00A0, 0x1680, 0x2028,
                                             0x2029, 0x202F, 0x205F, 0x3000};
  return (unit >= 0x0009 && unit <= 0x000D) || (unit >= 0x2000 && unit <= 0x200A) ||
         std::ranges::find(kSeparators, unit) != std::end(kSeparators);
}

HexScan scan_hex_int(std::u16string_view text, std::size_t location) {
  std::size_t at = location;
  while (at < text.size() && is_scanner_blank(text[at])) ++at;

  if (unit_at(text, at) == u'0' &&
      (unit_at(text, at + 1) == u'x' || unit_at(text, at + 1) == u'X')) {
    if (hex_digit(unit_at(text, at + 2)) < 0) return {true, 0, at + 1};
    at += 2;
  }
  if (at >= text.size() || hex_digit(text[at]) < 0) return {false, 0, location};

  constexpr std::uint32_t kAllBits = std::numeric_limits<std::uint32_t>::max();
  std::uint32_t value = 0;
  for (int digit; at < text.size() && (digit = hex_digit(text[at])) >= 0; ++at) {
    // Saturates: once the value would not fit, every further digit keeps it there.
    value = value > (kAllBits >> 4) ? kAllBits : (value << 4) + static_cast<std::uint32_t>(digit);
  }
  return {true, value, at};
}

}  // namespace toolkit
