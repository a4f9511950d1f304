#include "platform/foundation/ns_scanner.h"

#include <climits>
#include <string>

#include "platform/foundation/character_classes.h"
#include "platform/foundation/hex_scan.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/exception.h"

namespace ns {
namespace {

const objc::Member<Ref> kString{"NSScanner", "_string"};
const objc::Member<unsigned long> kLocation{"NSScanner", "_scanLocation"};

const std::u16string& scanned(id self) { return characters(kString.of(self)); }

// The first position from the scan location on that is not a blank.
std::size_t after_blanks(id self) {
  const auto& source = scanned(self);
  std::size_t at = kLocation.of(self);
  while (at < source.size() && is_whitespace_or_newline(source[at])) ++at;
  return at;
}

id init_with_string(id self, SEL, id text) {
  kString.of(self) = Ref::adopt(msg<id>(text, "copy"));
  return self;
}
id scanner_with_string(id self, SEL, id text) {
  return autorelease(init_with_string(msg<id>(self, "alloc"), nullptr, text));
}
id scanned_string(id self, SEL) { return kString.of(self); }
unsigned long scan_location(id self, SEL) { return kLocation.of(self); }
void set_scan_location(id self, SEL, unsigned long location) {
  if (location > scanned(self).size()) {
    objc::raise("NSRangeException",
                "*** -[NSScanner setScanLocation:]: Index " + std::to_string(location) +
                    " out of bounds; string length " + std::to_string(scanned(self).size()));
  }
  kLocation.of(self) = location;
}
BOOL is_at_end(id self, SEL) { return after_blanks(self) == scanned(self).size() ? YES : NO; }

BOOL scan_hex_int(id self, SEL, unsigned int* result) {
  const HexScan scan = ns::scan_hex_int(scanned(self), kLocation.of(self));
  if (!scan.found) return NO;
  if (result != nullptr) *result = scan.value;
  kLocation.of(self) = scan.end;
  return YES;
}

// An optional sign, then decimal digits; beyond the int range the value is
// INT_MAX or INT_MIN and the remaining digits are still consumed.
BOOL scan_int(id self, SEL, int* result) {
  const auto& source = scanned(self);
  std::size_t at = after_blanks(self);
  bool negative = false;
  if (at < source.size() && (source[at] == u'-' || source[at] == u'+')) {
    negative = source[at] == u'-';
    ++at;
  }
  std::size_t first = at;
  long long magnitude = 0;
  for (; at < source.size() && is_decimal_digit(source[at]); ++at) {
    if (magnitude <= static_cast<long long>(INT_MAX) + 1)
      magnitude = magnitude * 10 + (source[at] - u'0');
  }
  if (at == first) return NO;
  long long value = negative ? -magnitude : magnitude;
  if (value > INT_MAX) value = INT_MAX;
  if (value < INT_MIN) value = INT_MIN;
  if (result != nullptr) *result = static_cast<int>(value);
  kLocation.of(self) = at;
  return YES;
}

}  // namespace

void define_scanner_classes() {
  objc::ClassDefinition("NSScanner", objc_getClass("NSObject"))
      .member<Ref>("_string")
      .member<unsigned long>("_scanLocation")
      .class_method("scannerWithString:", scanner_with_string)
      .method("initWithString:", init_with_string)
      .method("string", scanned_string)
      .method("scanLocation", scan_location)
      .method("setScanLocation:", set_scan_location)
      .method("isAtEnd", is_at_end)
      .method("scanHexInt:", scan_hex_int)
      .method("scanInt:", scan_int)
      .finish();
}

}  // namespace ns
