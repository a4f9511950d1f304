#include "toolkit/image/image_analysis.h"

#include <algorithm>

#include "toolkit/color/color.h"

namespace toolkit {

Rgba average_color(PremultipliedPixel p) {
  if (p.alpha != 0) {
    const double m = (p.alpha / 255.0) / 255.0;
    return {p.red * m, p.green * m, p.blue * m, p.alpha / 255.0};
  }
  return {p.red / 255.0, p.green / 255.0, p.blue / 255.0, 0.0};
}

PixelUnits pixel_units(PremultipliedPixel p) {
  return {p.red / 255.0f, p.green / 255.0f, p.blue / 255.0f, p.alpha / 255.0f};
}

std::optional<std::uint64_t> first_dark_pixel(const Bitmap& bitmap) {
  const std::uint64_t count = bitmap.width() * bitmap.height();
  for (std::uint64_t i = 0; i < count; ++i) {
    const PixelUnits u = pixel_units(bitmap.pixel(i % bitmap.width(), i / bitmap.width()));
    if (!is_light(Color::rgb(u.red, u.green, u.blue, u.alpha))) return i;
  }
  return std::nullopt;
}

bool all_white(const Bitmap& bitmap) {
  const std::uint8_t* bytes = bitmap.data();
  return std::all_of(bytes, bytes + bitmap.bytes_per_row() * bitmap.height(),
                     [](std::uint8_t b) { return b == 255; });
}

}  // namespace toolkit
