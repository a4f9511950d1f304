// CoreGraphics geometry: the scalar CGFloat, points, sizes and rectangles,
// with the type encodings the runtime knows them by.
#pragma once

#include <string>

#include "platform/objc/type_encoding.h"

// The scalar of every coordinate and colour component: double, as on 64-bit
// devices.
using CGFloat = double;

struct CGPoint {
  CGFloat x = 0, y = 0;
  friend constexpr bool operator==(const CGPoint&, const CGPoint&) = default;
};
struct CGSize {
  CGFloat width = 0, height = 0;
  friend constexpr bool operator==(const CGSize&, const CGSize&) = default;
};
struct CGRect {
  CGPoint origin;
  CGSize size;
  friend constexpr bool operator==(const CGRect&, const CGRect&) = default;
};

constexpr CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height) {
  return {{x, y}, {width, height}};
}
constexpr CGSize CGSizeMake(CGFloat width, CGFloat height) { return {width, height}; }
constexpr CGPoint CGPointMake(CGFloat x, CGFloat y) { return {x, y}; }
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
}  // namespace objc
