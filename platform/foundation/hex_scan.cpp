#include "platform/foundation/hex_scan.h"

#include <limits>

#include "platform/foundation/character_classes.h"

namespace ns {

namespace {

char16_t unit_at(std::u16string_view text, std::size_t index) {
  return index < text.size() ? text[index] : u'\0';
}

}  // namespace

HexScan scan_hex_int(std::u16string_view text, std::size_t location) {
  std::size_t at = location;
  while (at < text.size() && is_whitespace_or_newline(text[at])) ++at;

  if (unit_at(text, at) == u'0' &&
      (unit_at(text, at + 1) == u'x' || unit_at(text, at + 1) == u'X')) {
    if (hex_digit_value(unit_at(text, at + 2)) < 0) return {true, 0, at + 1};
    at += 2;
  }
  if (at >= text.size() || hex_digit_value(text[at]) < 0) return {false, 0, location};

  constexpr std::uint32_t kAllBits = std::numeric_limits<std::uint32_t>::max();
  std::uint32_t value = 0;
  for (int digit; at < text.size() && (digit = hex_digit_value(text[at])) >= 0; ++at) {
    // Saturates: once the value would not fit, every further digit keeps it there.
    value = value > (kAllBits >> 4) ? kAllBits : (value << 4) + static_cast<std::uint32_t>(digit);
  }
  return {true, value, at};
}

}  // namespace ns
