// Character tests shared by the scanner and the numeric readings of texts,
// on single UTF-16 code units.
#pragma once

namespace ns {

// The platform's whitespaceAndNewlineCharacterSet: Unicode spaces (Zs),
// tab, and the line and paragraph separators (LF, VT, FF, CR, NEL, U+2028,
// U+2029).
constexpr bool is_whitespace_or_newline(char16_t c) {
  return c == u' ' || (c >= u'\t' && c <= u'\r') || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

constexpr bool is_decimal_digit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The value of a hexadecimal digit of either case, or -1.
constexpr int hex_digit_value(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace ns
