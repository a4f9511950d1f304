// The compositing module under the CoreGraphics stand-in: fills and scaled
// image drawing onto 8-bit pixels in the caller's memory, with normal
// (source-over) and copy blending, clipped to a rectangle and an 8-bit
// coverage plane. Everything is computed exactly in double precision and
// rounded once per channel when it is stored, so a result can be checked
// against the plain formula with no tolerance:
//   source over: out = k·S + (1 − k·Sa/255)·D
//   copy:        out = k·S + (1 − k)·D
// where S and D are premultiplied source and destination values on the
// 0-255 scale and k is the pixel's coverage (the covered share of its area
// times the clip plane's value / 255).
//
// A scaled image is sampled per axis: where the image shrinks, each pixel
// averages the source pixels it covers by their exact covered areas; where
// it grows, it interpolates bilinearly between the nearest source pixel
// centres (edge pixels repeat).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/coregraphics/pixel_format.h"

namespace cg {

// A rectangle in raster coordinates: pixels, x to the right, y down from the
// first stored row.
struct RasterRect {
  double left = 0, top = 0, right = 0, bottom = 0;

  bool empty() const { return !(left < right) || !(top < bottom); }
  RasterRect intersection(const RasterRect& other) const;
  friend bool operator==(const RasterRect&, const RasterRect&) = default;
};

// Pixels in memory: a layout, a size and the first byte of row 0.
struct PixelPlane {
  std::uint8_t* data = nullptr;
  std::size_t width = 0, height = 0, bytes_per_row = 0;
  PixelFormat format;

  std::uint8_t* at(std::size_t x, std::size_t y) const {
    return data + y * bytes_per_row + x * static_cast<std::size_t>(format.bytes_per_pixel);
  }
  RasterRect bounds() const {
    return {0, 0, static_cast<double>(width), static_cast<double>(height)};
  }
};

enum class Blend { kNormal, kCopy };

// Where drawing reaches: inside `rect`, weighted by `mask` (one byte per
// pixel of the destination, row by row) when there is one.
struct Clip {
  RasterRect rect;
  std::shared_ptr<const std::vector<std::uint8_t>> mask;
};

// Paints `color` over the part of `area` inside the clip.
void fill(const PixelPlane& destination, const RasterRect& area, const Premultiplied& color,
          const Clip& clip, Blend blend);

// Draws the whole of `source` scaled to `area`, its first row at the top of
// the area unless `flip_y`, its first column at the left unless `flip_x`.
void draw_image(const PixelPlane& destination, const RasterRect& area, bool flip_x, bool flip_y,
                const PixelPlane& source, const Clip& clip, Blend blend);

}  // namespace cg
