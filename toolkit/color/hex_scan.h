// Scanning a hexadecimal integer out of a text, as the platform's NSScanner
// does for scanHexInt: (its default skip set, white space and line breaks).
// Hex colour texts are read with it, so the theme and the platform scanner
// agree on every text, malformed ones included.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace toolkit {

struct HexScan {
  bool found = false;       // whether a number was read
  std::uint32_t value = 0;  // the number; 0 when none was read
  std::size_t end = 0;      // the location after what was read
};

// Whether `unit` is in the scanner's default skip set: the Unicode white
// space and line break characters (category Z, U+0009 to U+000D, U+0085).
bool is_scanner_blank(char16_t unit);

// Reads one unsigned 32-bit hexadecimal integer from the UTF-16 `text` at
// `location` (a code unit index; past the end reads nothing):
//  - blanks (is_scanner_blank) before the number are skipped;
//  - an optional "0x" or "0X" prefix is accepted; a prefix with no digit
//    after it reads as the number 0 ending after the "0";
//  - hexadecimal digits of either letter case are read up to the first other
//    unit; a value beyond 32 bits reads as 0xFFFFFFFF;
//  - with no digit, nothing is read: found is false, value 0 and end the
//    given location (the skipped blanks are not consumed).
HexScan scan_hex_int(std::u16string_view text, std::size_t location);

}  // namespace toolkit
