// Reading a hexadecimal integer as scanHexInt: does, which the theme's hex
// colour texts rely on, malformed ones included.
#include "platform/foundation/hex_scan.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/foundation/character_classes.h"
#include "platform/foundation/unicode.h"

namespace {

using ns::scan_hex_int;

struct ScanCase {
  std::u16string text;
  std::size_t location;
  bool found;
  std::uint32_t value;
  std::size_t end;
};

TEST(HexScan, ReadsLikeThePlatformScanner) {
  const ScanCase cases[] = {
      {u"1B1B1B", 0, true, 0x1B1B1B, 6},
      {u"#1b1B1b", 1, true, 0x1B1B1B, 7},
      // Blanks and line breaks before the number are skipped, then a 0x prefix.
      {u" \n\t0x1b1B1b", 0, true, 0x1B1B1B, 11},
      {u"\u00A0\u3000\u2028\u0085"
       u"0X51b8ff",
       0, true, 0x51B8FF, 12},
      // Digits stop at the first other unit; what follows is left alone.
      {u"1B1B1Bzz", 0, true, 0x1B1B1B, 6},
      // A prefix with no digit after it reads the "0" alone.
      {u"0x", 0, true, 0, 1},
      {u" 0xg1", 0, true, 0, 2},
      {u"0x 1F", 0, true, 0, 1},
      {u"0", 0, true, 0, 1},
      // Past 32 bits the value is all bits set; leading zeros do not overflow.
      {u"FFFFFFFF", 0, true, 0xFFFFFFFF, 8},
      {u"123456789", 0, true, 0xFFFFFFFF, 9},
      {u"100000000000000000000", 0, true, 0xFFFFFFFF, 21},
      {u"0000000000FF", 0, true, 0xFF, 12},
      // No digit: nothing read, and the skipped blanks are not consumed.
      {u"zz", 0, false, 0, 0},
      {u"#  \n", 1, false, 0, 1},
      {u"", 0, false, 0, 0},
      {u"#", 1, false, 0, 1},
      {u"#", 7, false, 0, 7},
      {u"-1F", 0, false, 0, 0},
      {u"+1F", 0, false, 0, 0},
      {u"x1F", 0, false, 0, 0},
      // Only ASCII digits count, and a zero-width space is not a blank.
      {u"\uFF26\uFF26", 0, false, 0, 0},
      {u"\u200B"
       u"1F",
       0, false, 0, 0},
  };
  for (const auto& c : cases) {
    const auto scan = scan_hex_int(c.text, c.location);
    const std::string label = ns::utf8_from_utf16(c.text);
    EXPECT_EQ(scan.found, c.found) << label;
    EXPECT_EQ(scan.value, c.value) << label;
    EXPECT_EQ(scan.end, c.end) << label;
  }
}

TEST(HexScan, SkipSetIsUnicodeSpaceAndLineBreaks) {
  const char16_t blanks[] = {0x09,   0x0A,   0x0B,   0x0C,   0x0D,   0x20,   0x85,   0xA0,  0x1680,
                             0x2000, 0x2005, 0x200A, 0x2028, 0x2029, 0x202F, 0x205F, 0x3000};
  for (char16_t unit : blanks) EXPECT_TRUE(ns::is_whitespace_or_newline(unit)) << int(unit);
  const char16_t others[] = {0x00, 0x08, 0x0E, 0x1F, 0x21, 0x84, 0x180E, 0x200B, 0xFEFF, u'0'};
  for (char16_t unit : others) EXPECT_FALSE(ns::is_whitespace_or_newline(unit)) << int(unit);
}

}  // namespace
