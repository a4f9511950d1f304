// CoreGraphics and Foundation geometry: points, sizes, rectangles and ranges,
// with the type encodings the runtime knows them by.
#pragma once

#include <string>

#include "platform/objc/type_encoding.h"

struct CGPoint {
  double x = 0, y = 0;
  friend constexpr bool operator==(const CGPoint&, const CGPoint&) = default;
};
struct CGSize {
  double width = 0, height = 0;
  friend constexpr bool operator==(const CGSize&, const CGSize&) = default;
};
struct CGRect {
  CGPoint origin;
  CGSize size;
  friend constexpr bool operator==(const CGRect&, const CGRect&) = default;
};
struct NSRange {
  unsigned long location = 0, length = 0;
  friend constexpr bool operator==(const NSRange&, const NSRange&) = default;
};

constexpr CGRect CGRectMake(double x, double y, double width, double height) {
  return {{x, y}, {width, height}};
}
constexpr CGSize CGSizeMake(double width, double height) { return {width, height}; }
constexpr CGPoint CGPointMake(double x, double y) { return {x, y}; }
constexpr NSRange NSMakeRange(unsigned long location, unsigned long length) {
  return {location, length};
}
constexpr CGRect CGRectZero{};

namespace objc {
template <>
struct Encoding<CGPoint> {
  static std::string value() { return "{CGPoint=dd}"; }
};
template <>
struct Encoding<CGSize> {
  static std::string value() { return "{CGSize=dd}"; }
};
template <>
struct Encoding<CGRect> {
  static std::string value() { return "{CGRect={CGPoint=dd}{CGSize=dd}}"; }
};
template <>
struct Encoding<NSRange> {
  static std::string value() { return "{_NSRange=QQ}"; }
};
}  // namespace objc
