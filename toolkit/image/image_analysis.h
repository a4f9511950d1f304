// Reading a Bitmap's pixels: the average colour of a one-pixel Bitmap, and
// the light and all-white tests. The values tested are the stored,
// premultiplied ones, so a transparent pixel is black.
#pragma once

#include <cstdint>
#include <optional>

#include "toolkit/color/color.h"
#include "toolkit/image/bitmap.h"

namespace toolkit {

// The colour of the pixel a whole image was averaged into: with alpha A not
// 0, each colour byte × (A / 255.0) / 255.0 (premultiplied a second time,
// not un-premultiplied) and alpha A / 255.0; with A 0, the bytes / 255.0 and
// alpha 0.
Rgba average_color(PremultipliedPixel pixel);

// A pixel's four bytes as the light test reads them: each / 255.0 in single
// precision.
struct PixelUnits {
  float red, green, blue, alpha;
};
PixelUnits pixel_units(PremultipliedPixel pixel);

// The index, in memory order, of the first pixel that is not light by the
// colour light test; nothing when every pixel is light.
std::optional<std::uint64_t> first_dark_pixel(const Bitmap& bitmap);

// Whether every byte of every pixel is 255.
bool all_white(const Bitmap& bitmap);

}  // namespace toolkit
