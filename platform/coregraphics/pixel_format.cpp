#include "platform/coregraphics/pixel_format.h"

#include <cmath>

namespace cg {

std::optional<PixelFormat> PixelFormat::make(CGColorSpaceModel model,
                                             std::size_t bits_per_component,
                                             std::size_t bits_per_pixel,
                                             std::uint32_t bitmap_info) {
  if (bits_per_component != 8) return std::nullopt;
  const std::uint32_t info = bitmap_info & kAlphaInfoMask;
  const std::uint32_t order = bitmap_info & kByteOrderMask;
  if (order != kByteOrderDefault && order != kByteOrder32Big && order != kByteOrder32Little) {
    return std::nullopt;
  }
  PixelFormat format;
  format.model = model;
  format.bitmap_info = bitmap_info;
  if (info == kAlphaOnly) {
    if (bits_per_pixel != 8) return std::nullopt;
    format.model = kCGColorSpaceModelUnknown;
    format.bytes_per_pixel = 1;
    format.red = format.green = format.blue = -1;
    format.alpha = 0;
    return format;
  }
  if (model == kCGColorSpaceModelMonochrome) {
    if (bits_per_pixel != 8 || info != kAlphaNone) return std::nullopt;
    format.bytes_per_pixel = 1;
    format.red = format.green = format.blue = 0;
    format.alpha = -1;
    return format;
  }
  if (model != kCGColorSpaceModelRGB) return std::nullopt;
  if (bits_per_pixel == 24) {
    if (info != kAlphaNone || order == kByteOrder32Little) return std::nullopt;
    format.bytes_per_pixel = 3;
    format.alpha = -1;
    return format;
  }
  if (bits_per_pixel != 32 || info == kAlphaNone || info > kAlphaNoneSkipFirst) {
    return std::nullopt;
  }
  const bool alpha_first =
      info == kAlphaPremultipliedFirst || info == kAlphaFirst || info == kAlphaNoneSkipFirst;
  // Offsets in the order the alpha info names; a little-endian 32-bit word
  // stores them reversed.
  int r = alpha_first ? 1 : 0;
  int a = alpha_first ? 0 : 3;
  auto place = [&](int offset) { return order == kByteOrder32Little ? 3 - offset : offset; };
  format.red = place(r);
  format.green = place(r + 1);
  format.blue = place(r + 2);
  format.alpha = place(a);
  format.premultiplied = info != kAlphaLast && info != kAlphaFirst;
  if (info == kAlphaNoneSkipLast || info == kAlphaNoneSkipFirst) {
    format.alpha = -1;
  }
  return format;
}

PixelFormat PixelFormat::rgba() {
  return *make(kCGColorSpaceModelRGB, 8, 32, kAlphaPremultipliedLast | kByteOrder32Big);
}

std::uint8_t round_channel(double value) {
  if (!(value > 0.0)) return 0;
  if (value >= 255.0) return 255;
  return static_cast<std::uint8_t>(std::floor(value + 0.5));
}

Premultiplied load(const PixelFormat& format, const std::uint8_t* at) {
  const double alpha = format.alpha >= 0 ? at[format.alpha] : 255.0;
  if (format.red < 0) return {0, 0, 0, alpha};
  Premultiplied pixel{static_cast<double>(at[format.red]), static_cast<double>(at[format.green]),
                      static_cast<double>(at[format.blue]), alpha};
  if (!format.premultiplied) {
    pixel.red = round_channel(pixel.red * alpha / 255.0);
    pixel.green = round_channel(pixel.green * alpha / 255.0);
    pixel.blue = round_channel(pixel.blue * alpha / 255.0);
  }
  return pixel;
}

void store(const PixelFormat& format, std::uint8_t* at, const Premultiplied& value) {
  if (format.alpha >= 0) {
    at[format.alpha] = round_channel(value.alpha);
  } else if (format.bytes_per_pixel == 4) {
    const bool skip_first = format.alpha_info() == kAlphaNoneSkipFirst;
    const bool little = (format.bitmap_info & kByteOrderMask) == kByteOrder32Little;
    at[skip_first != little ? 0 : 3] = 255;
  }
  if (format.red < 0) return;
  if (format.model == kCGColorSpaceModelMonochrome) {
    at[format.red] = round_channel(value.red * 0.299 + value.green * 0.587 + value.blue * 0.114);
    return;
  }
  if (!format.premultiplied) {
    // A straight-alpha layout holds the colour with the alpha divided out.
    const double a = value.alpha > 0 ? value.alpha / 255.0 : 1.0;
    at[format.red] = round_channel(value.red / a);
    at[format.green] = round_channel(value.green / a);
    at[format.blue] = round_channel(value.blue / a);
    return;
  }
  at[format.red] = round_channel(value.red);
  at[format.green] = round_channel(value.green);
  at[format.blue] = round_channel(value.blue);
}

}  // namespace cg
