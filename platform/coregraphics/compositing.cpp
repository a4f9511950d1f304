#include "platform/coregraphics/compositing.h"

#include <algorithm>
#include <cmath>

namespace cg {
namespace {

// One source index and its weight in a destination pixel.
struct Tap {
  std::size_t index;
  double weight;
};

// The taps of every destination pixel from `first` to `last` (exclusive)
// along one axis, for a source of `count` pixels spread over [start, end).
class AxisTaps {
 public:
  AxisTaps(double start, double end, std::size_t count, bool flip, std::size_t first,
           std::size_t last)
      : first_(first) {
    const double length = end - start;
    const double n = static_cast<double>(count);
    offsets_.reserve(last - first + 1);
    for (std::size_t i = first; i < last; ++i) {
      offsets_.push_back(taps_.size());
      const double pixel = static_cast<double>(i);
      if (n >= length) {
        // Shrinking: the covered part of the pixel, mapped into the source
        // (multiplied before dividing, so whole numbers stay exact).
        const double a = std::max(pixel, start);
        const double b = std::min(pixel + 1.0, end);
        double from = (a - start) * n / length;
        double to = (b - start) * n / length;
        if (flip) {
          const double flipped_from = n - to;
          to = n - from;
          from = flipped_from;
        }
        const double span = to - from;
        if (!(span > 0)) {
          taps_.push_back({clamp(std::floor(from), count), 1.0});
          continue;
        }
        for (double k = std::floor(from); k < to; k += 1.0) {
          const double overlap = std::min(k + 1.0, to) - std::max(k, from);
          if (overlap > 0) taps_.push_back({clamp(k, count), overlap / span});
        }
      } else {
        double s = (pixel + 0.5 - start) * n / length - 0.5;
        if (flip) s = n - 1.0 - s;
        const double k = std::floor(s);
        const double f = s - k;
        taps_.push_back({clamp(k, count), 1.0 - f});
        if (f > 0) taps_.push_back({clamp(k + 1.0, count), f});
      }
    }
    offsets_.push_back(taps_.size());
  }

  const Tap* begin(std::size_t i) const { return taps_.data() + offsets_[i - first_]; }
  const Tap* end(std::size_t i) const { return taps_.data() + offsets_[i - first_ + 1]; }

 private:
  static std::size_t clamp(double k, std::size_t count) {
    if (k < 0) return 0;
    const auto index = static_cast<std::size_t>(k);
    return index >= count ? count - 1 : index;
  }

  std::size_t first_;
  std::vector<std::size_t> offsets_;
  std::vector<Tap> taps_;
};

// The share of pixel [i, i + 1) inside [from, to).
double overlap(std::size_t i, double from, double to) {
  const double pixel = static_cast<double>(i);
  return std::max(0.0, std::min(pixel + 1.0, to) - std::max(pixel, from));
}

void composite(const PixelFormat& format, std::uint8_t* at, const Premultiplied& source,
               double coverage, Blend blend) {
  const Premultiplied d = load(format, at);
  const double keep =
      blend == Blend::kCopy ? 1.0 - coverage : 1.0 - coverage * source.alpha / 255.0;
  store(format, at,
        {coverage * source.red + keep * d.red, coverage * source.green + keep * d.green,
         coverage * source.blue + keep * d.blue, coverage * source.alpha + keep * d.alpha});
}

// Calls `paint(x, y, coverage)` for every pixel of `area` that the clip lets
// through with a coverage above 0.
template <typename Paint>
void for_each_covered(const PixelPlane& destination, const RasterRect& area, const Clip& clip,
                      Paint paint) {
  const RasterRect reach = area.intersection(clip.rect).intersection(destination.bounds());
  if (reach.empty()) return;
  const auto x0 = static_cast<std::size_t>(std::floor(reach.left));
  const auto x1 = static_cast<std::size_t>(std::ceil(reach.right));
  const auto y0 = static_cast<std::size_t>(std::floor(reach.top));
  const auto y1 = static_cast<std::size_t>(std::ceil(reach.bottom));
  for (std::size_t y = y0; y < y1; ++y) {
    const double row_share = overlap(y, reach.top, reach.bottom);
    for (std::size_t x = x0; x < x1; ++x) {
      double coverage = row_share * overlap(x, reach.left, reach.right);
      if (clip.mask) coverage *= (*clip.mask)[y * destination.width + x] / 255.0;
      if (coverage > 0) paint(x, y, coverage);
    }
  }
}

}  // namespace

RasterRect RasterRect::intersection(const RasterRect& other) const {
  return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
          std::min(bottom, other.bottom)};
}

void fill(const PixelPlane& destination, const RasterRect& area, const Premultiplied& color,
          const Clip& clip, Blend blend) {
  for_each_covered(destination, area, clip, [&](std::size_t x, std::size_t y, double coverage) {
    composite(destination.format, destination.at(x, y), color, coverage, blend);
  });
}

void draw_image(const PixelPlane& destination, const RasterRect& area, bool flip_x, bool flip_y,
                const PixelPlane& source, const Clip& clip, Blend blend) {
  if (source.width == 0 || source.height == 0 || area.empty()) return;
  const RasterRect reach = area.intersection(clip.rect).intersection(destination.bounds());
  if (reach.empty()) return;
  const auto x0 = static_cast<std::size_t>(std::floor(reach.left));
  const auto x1 = static_cast<std::size_t>(std::ceil(reach.right));
  const auto y0 = static_cast<std::size_t>(std::floor(reach.top));
  const auto y1 = static_cast<std::size_t>(std::ceil(reach.bottom));
  const AxisTaps columns(area.left, area.right, source.width, flip_x, x0, x1);
  const AxisTaps rows(area.top, area.bottom, source.height, flip_y, y0, y1);
  for_each_covered(destination, area, clip, [&](std::size_t x, std::size_t y, double coverage) {
    Premultiplied sum;
    for (const Tap* row = rows.begin(y); row != rows.end(y); ++row) {
      for (const Tap* column = columns.begin(x); column != columns.end(x); ++column) {
        const Premultiplied p = load(source.format, source.at(column->index, row->index));
        const double w = row->weight * column->weight;
        sum.red += w * p.red;
        sum.green += w * p.green;
        sum.blue += w * p.blue;
        sum.alpha += w * p.alpha;
      }
    }
    composite(destination.format, destination.at(x, y), sum, coverage, blend);
  });
}

}  // namespace cg
