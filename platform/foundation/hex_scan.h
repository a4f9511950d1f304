// Reading a hexadecimal integer out of a text, as NSScanner's scanHexInt:
// does. The scanner is built on it, and the theme's hex colour texts are read
// with it, so both agree on every text, malformed ones included.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ns {

struct HexScan {
  bool found = false;       // whether a number was read
  std::uint32_t value = 0;  // the number; 0 when none was read
  std::size_t end = 0;      // the location after what was read
};

// Reads one unsigned 32-bit hexadecimal integer from the UTF-16 `text` at
// `location` (a code unit index; past the end reads nothing):
//  - white space and line breaks (is_whitespace_or_newline) before the
//    number are skipped;
//  - an optional "0x" or "0X" prefix is accepted; a prefix with no digit
//    after it reads as the number 0 ending after the "0";
//  - hexadecimal digits of either letter case are read up to the first other
//    unit; a value beyond 32 bits reads as 0xFFFFFFFF;
//  - with no digit, nothing is read: found is false, value 0 and end the
//    given location (the skipped blanks are not consumed).
HexScan scan_hex_int(std::u16string_view text, std::size_t location);

}  // namespace ns
