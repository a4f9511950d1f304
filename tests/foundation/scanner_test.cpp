// NSScanner as the colour hex parser uses it: scannerWithString:,
// setScanLocation: and scanHexInt:, plus scanInt: and isAtEnd.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/foundation/foundation.h"
#include "platform/objc/exception.h"
#include "tests/foundation/printable.h"

namespace {

using objc::msg;

id scanner_for(const char* text) {
  return msg<id>(objc_getClass("NSScanner"), "scannerWithString:", ns::string(text));
}

struct HexScan {
  const char* text;
  unsigned long start;
  bool found;
  unsigned int value;  // the result; left untouched when nothing is found
  unsigned long end;   // the scan location afterwards
};

void PrintTo(const HexScan& c, std::ostream* out) {
  *out << printable(c.text) << " at " << c.start;
}

class ScanHexInt : public testing::TestWithParam<HexScan> {};

TEST_P(ScanHexInt, ReadsOneHexadecimalNumber) {
  ns::AutoreleasePool pool;
  const HexScan& c = GetParam();
  id scanner = scanner_for(c.text);
  msg<void>(scanner, "setScanLocation:", c.start);
  unsigned int value = 0xDEADBEEF;
  EXPECT_EQ(msg<BOOL>(scanner, "scanHexInt:", &value) != NO, c.found);
  EXPECT_EQ(value, c.found ? c.value : 0xDEADBEEF);
  EXPECT_EQ(msg<unsigned long>(scanner, "scanLocation"), c.end);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScanHexInt,
    testing::Values(
        HexScan{"#1B1B1B", 1, true, 0x1B1B1B, 7}, HexScan{"#cccccc", 1, true, 0xCCCCCC, 7},
        HexScan{"#CcCcCc", 1, true, 0xCCCCCC, 7},
        // Blanks and line breaks before the number, and a 0x prefix of either case.
        HexScan{"#  \n\t0x1B1B1B", 1, true, 0x1B1B1B, 13}, HexScan{"#0X1b", 1, true, 0x1B, 5},
        // Beyond 32 bits: all bits set, every digit consumed.
        HexScan{"#123456789", 1, true, UINT_MAX, 10}, HexScan{"#100000000", 1, true, UINT_MAX, 10},
        HexScan{"#FFFFFFFF", 1, true, 0xFFFFFFFF, 9},
        // Leading zeros do not overflow.
        HexScan{"#000000000001", 1, true, 1, 13}, HexScan{"#11223344", 1, true, 0x11223344, 9},
        HexScan{"#FFF", 1, true, 0xFFF, 4},
        // Trailing junk stops the number and stays unread.
        HexScan{"#12zz", 1, true, 0x12, 3},
        // "0x" without a digit after it: the 0 is the number.
        HexScan{"#0x", 1, true, 0, 2}, HexScan{"#0xg", 1, true, 0, 2},
        // No digit: NO, and the location stays where it was.
        HexScan{"#zz", 1, false, 0, 1}, HexScan{"#", 1, false, 0, 1},
        HexScan{"#   ", 1, false, 0, 1}, HexScan{"#-1", 1, false, 0, 1},
        HexScan{"ff", 0, true, 0xFF, 2}));

TEST(Scanner, LocationPastTheEndRaisesARangeError) {
  ns::AutoreleasePool pool;
  id scanner = scanner_for("#1");
  msg<void>(scanner, "setScanLocation:", 2ul);  // the end itself is a place
  EXPECT_TRUE(msg<BOOL>(scanner, "isAtEnd"));
  try {
    msg<void>(scanner, "setScanLocation:", 3ul);
    FAIL() << "a location past the end must raise";
  } catch (const objc::Exception& e) {
    EXPECT_EQ(ns::exception_name(e.object()), "NSRangeException");
  }
  // An empty text cannot be positioned past its first character.
  EXPECT_THROW(msg<void>(scanner_for(""), "setScanLocation:", 1ul), objc::Exception);
}

TEST(Scanner, ScanIntReadsSignedDecimalsAndSaturates) {
  ns::AutoreleasePool pool;
  struct Case {
    const char* text;
    bool found;
    int value;
    unsigned long end;
  };
  for (const Case& c :
       {Case{"42", true, 42, 2}, Case{"  -17x", true, -17, 5}, Case{"+3", true, 3, 2},
        Case{"99999999999", true, INT_MAX, 11}, Case{"-99999999999", true, INT_MIN, 12},
        Case{"-", false, 0, 0}, Case{" x", false, 0, 0}}) {
    id scanner = scanner_for(c.text);
    int value = 0;
    EXPECT_EQ(msg<BOOL>(scanner, "scanInt:", &value) != NO, c.found) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
    EXPECT_EQ(msg<unsigned long>(scanner, "scanLocation"), c.end) << c.text;
  }
}

TEST(Scanner, SuccessiveScansContinueWhereTheLastStopped) {
  ns::AutoreleasePool pool;
  id scanner = scanner_for("12 ff \n");
  int decimal = 0;
  unsigned int hex = 0;
  EXPECT_TRUE(msg<BOOL>(scanner, "scanInt:", &decimal));
  EXPECT_FALSE(msg<BOOL>(scanner, "isAtEnd"));
  EXPECT_TRUE(msg<BOOL>(scanner, "scanHexInt:", &hex));
  // Only blanks are left: the scanner is at its end.
  EXPECT_TRUE(msg<BOOL>(scanner, "isAtEnd"));
  EXPECT_EQ(decimal, 12);
  EXPECT_EQ(hex, 0xFFu);
  // A null result pointer is allowed.
  id again = scanner_for("7");
  EXPECT_TRUE(msg<BOOL>(again, "scanHexInt:", static_cast<unsigned int*>(nullptr)));
}

}  // namespace
