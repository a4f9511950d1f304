// Dominant colours: the few colours that dominate a small square Bitmap and
// the share of each. Every pixel votes for colour keys near its own colour
// (an odometer over three channel lists, (2R + 1)² × 3 keys, values below 0
// raised to 0), the keys are counted and ordered by count, and the most voted
// keys that lie more than T apart in some channel from every key kept before
// are kept.
//
// Two implementations with one result. `dominant_colors_literal` follows the
// steps word for word, with text keys; it is the oracle. `dominant_colors`
// counts in a grid of integer keys and finds the kept keys by a best-first
// search over blocks of that grid. Keys of equal count are ordered by their
// values (red, then green, then blue), smallest first, in both.
#pragma once

#include <cstdint>
#include <vector>

#include "toolkit/image/bitmap.h"

namespace toolkit {

// The side D of the square Bitmap, the neighbourhood radius R and the
// tolerance T of a detail level: 0 gives (4, 1, 100), 2 gives (100, 10, 20),
// every other value (10, 2, 60).
struct DominantDetail {
  int side;
  int radius;
  int tolerance;
};
DominantDetail dominant_detail(std::int32_t detail);

// A kept key and its share: its count over the kept keys' total, in single
// precision (the total summed in single precision, in kept order).
struct DominantColor {
  int red, green, blue;
  float share;
  friend bool operator==(const DominantColor&, const DominantColor&) = default;
};

// The kept keys in order, pixels visited column by column (each from the
// top), their alpha ignored. An empty Bitmap gives nothing.
std::vector<DominantColor> dominant_colors(const Bitmap& bitmap, std::int32_t detail);
std::vector<DominantColor> dominant_colors_literal(const Bitmap& bitmap, std::int32_t detail);

}  // namespace toolkit
