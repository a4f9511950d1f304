// Foundation's plain types and constants, under the names device code uses:
// integer and character types, ranges, NSNotFound, comparison results and
// the text encodings the platform can convert.
#pragma once

#include <climits>
#include <string>

#include "platform/objc/type_encoding.h"

using NSInteger = long;
using NSUInteger = unsigned long;
using unichar = unsigned short;
using NSTimeInterval = double;

// A run of indices: `length` of them from `location`.
struct NSRange {
  NSUInteger location = 0, length = 0;
  friend constexpr bool operator==(const NSRange&, const NSRange&) = default;
};

constexpr NSRange NSMakeRange(NSUInteger location, NSUInteger length) { return {location, length}; }

namespace objc {
template <>
struct Encoding<NSRange> {
  // NSUInteger is 64 bits wide on 64-bit targets and 32 on the others.
  static std::string value() { return sizeof(NSUInteger) == 8 ? "{_NSRange=QQ}" : "{_NSRange=II}"; }
};
}  // namespace objc

// "No such index": the largest NSInteger, in an NSUInteger.
inline constexpr NSUInteger NSNotFound = static_cast<NSUInteger>(LONG_MAX);

// What compare: answers.
using NSComparisonResult = NSInteger;
inline constexpr NSComparisonResult NSOrderedAscending = -1;
inline constexpr NSComparisonResult NSOrderedSame = 0;
inline constexpr NSComparisonResult NSOrderedDescending = 1;

using NSStringEncoding = NSUInteger;
inline constexpr NSStringEncoding NSASCIIStringEncoding = 1;
inline constexpr NSStringEncoding NSUTF8StringEncoding = 4;
inline constexpr NSStringEncoding NSISOLatin1StringEncoding = 5;
inline constexpr NSStringEncoding NSUnicodeStringEncoding = 10;
inline constexpr NSStringEncoding NSUTF16StringEncoding = NSUnicodeStringEncoding;
inline constexpr NSStringEncoding NSUTF16BigEndianStringEncoding = 0x90000100;
inline constexpr NSStringEncoding NSUTF16LittleEndianStringEncoding = 0x94000100;
