// How large a pixel surface the CoreGraphics stand-in makes: past these, a
// context or image is refused (a null result) before anything is allocated.
#pragma once

#include <cstddef>

namespace cg {

inline constexpr std::size_t kMaxSide = std::size_t{1} << 15;
inline constexpr std::size_t kMaxPixels = std::size_t{1} << 26;

// Whether a surface of this many pixels may be made: both sides at least 1
// and at most kMaxSide, and the product at most kMaxPixels.
constexpr bool within_budget(std::size_t width, std::size_t height) {
  return width >= 1 && height >= 1 && width <= kMaxSide && height <= kMaxSide &&
         width * height <= kMaxPixels;
}

}  // namespace cg
