// The memory layouts of 8-bit pixels that bitmap contexts and images use, and
// the reading and writing of one pixel as premultiplied red, green, blue and
// alpha. A layout is derived from a colour space model, the bits per
// component and per pixel, and the bitmap info (alpha info in the low five
// bits, byte order in bits 12-14), as CoreGraphics derives it.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/coregraphics/cg_color.h"

namespace cg {

// CGImageAlphaInfo.
enum AlphaInfo : std::uint32_t {
  kAlphaNone = 0,
  kAlphaPremultipliedLast = 1,
  kAlphaPremultipliedFirst = 2,
  kAlphaLast = 3,
  kAlphaFirst = 4,
  kAlphaNoneSkipLast = 5,
  kAlphaNoneSkipFirst = 6,
  kAlphaOnly = 7,
};
inline constexpr std::uint32_t kAlphaInfoMask = 0x1F;
inline constexpr std::uint32_t kByteOrderMask = 0x7000;
inline constexpr std::uint32_t kByteOrderDefault = 0;
inline constexpr std::uint32_t kByteOrder32Little = 0x2000;
inline constexpr std::uint32_t kByteOrder32Big = 0x4000;

// A premultiplied pixel on the 0-255 scale. Exact intermediate values stay
// fractional so that a composite rounds once, at the end.
struct Premultiplied {
  double red = 0, green = 0, blue = 0, alpha = 0;
};

struct PixelFormat {
  CGColorSpaceModel model = kCGColorSpaceModelRGB;  // RGB, monochrome, or unknown for alpha only
  std::uint32_t bitmap_info = 0;
  int bytes_per_pixel = 4;
  // Byte offsets inside a pixel; -1 where the layout has no such byte. A grey
  // layout keeps its grey at `red`.
  int red = 0, green = 1, blue = 2, alpha = 3;
  bool premultiplied = true;

  std::uint32_t alpha_info() const { return bitmap_info & kAlphaInfoMask; }
  bool has_alpha() const { return alpha >= 0; }

  // The layout for these parameters, or nothing for a combination that has
  // none: only 8 bits per component are laid out, RGB in 24 bits (no alpha)
  // or 32 bits (alpha or a skipped byte, first or last, in either byte
  // order), grey in 8 bits without alpha, alpha only in 8 bits.
  static std::optional<PixelFormat> make(CGColorSpaceModel model, std::size_t bits_per_component,
                                         std::size_t bits_per_pixel, std::uint32_t bitmap_info);
  // The layout of the toolkit's Bitmap: R, G, B, A bytes, premultiplied.
  static PixelFormat rgba();
};

// The pixel at `at` as premultiplied 8-bit values: straight alpha is
// premultiplied with one rounding, a layout without alpha reads opaque, grey
// reads as equal red, green and blue, alpha only reads as black.
Premultiplied load(const PixelFormat& format, const std::uint8_t* at);
// Writes a premultiplied value, rounding each channel once (halves up) and
// clamping to 0-255. Grey takes the luma of red, green and blue (weights
// 0.299, 0.587, 0.114); a skipped byte is written 255.
void store(const PixelFormat& format, std::uint8_t* at, const Premultiplied& value);

// One rounding to a byte: halves up, clamped to 0-255, NaN to 0.
std::uint8_t round_channel(double value);

}  // namespace cg
