#include "platform/coregraphics/color_components.h"

#include <algorithm>
#include <cmath>

namespace cg {

std::optional<Rgba> rgb_view(const ColorComponents& color) {
  switch (color.model()) {
    case ColorModel::kRgb:
      return Rgba{color.at(0), color.at(1), color.at(2), color.at(3)};
    case ColorModel::kGrey:
      return Rgba{color.at(0), color.at(0), color.at(0), color.at(1)};
    case ColorModel::kOther:
      return std::nullopt;
  }
  return std::nullopt;
}

// The hexcone model (A. R. Smith, "Color Gamut Transform Pairs", 1978).
std::optional<Hsba> hsb_view(const ColorComponents& color) {
  const std::optional<Rgba> view = rgb_view(color);
  if (!view) return std::nullopt;
  const Rgba& rgba = *view;
  const double largest = std::max({rgba.red, rgba.green, rgba.blue});
  const double smallest = std::min({rgba.red, rgba.green, rgba.blue});
  const double spread = largest - smallest;
  double hue = 0.0;
  if (spread != 0.0) {
    if (largest == rgba.red) {
      hue = (rgba.green - rgba.blue) / spread;
    } else if (largest == rgba.green) {
      hue = 2.0 + (rgba.blue - rgba.red) / spread;
    } else {
      hue = 4.0 + (rgba.red - rgba.green) / spread;
    }
    hue /= 6.0;
    if (hue < 0.0) hue += 1.0;
  }
  return Hsba{hue, largest == 0.0 ? 0.0 : spread / largest, largest, rgba.alpha};
}

std::optional<WhiteAlpha> white_view(const ColorComponents& color) {
  if (color.model() != ColorModel::kGrey) return std::nullopt;
  return WhiteAlpha{color.at(0), color.at(1)};
}

ColorComponents from_hsb(const Hsba& hsba) {
  const double v = hsba.brightness;
  const double s = hsba.saturation;
  if (s == 0.0) return ColorComponents::rgb(v, v, v, hsba.alpha);
  // A hue that is not a finite number names no sector; it counts as 0
  // rather than reaching an undefined integer conversion below.
  double h = std::isfinite(hsba.hue) ? std::fmod(hsba.hue, 1.0) * 6.0 : 0.0;
  if (h < 0.0) h += 6.0;
  const int sector = static_cast<int>(std::floor(h));
  const double f = h - sector;
  const double p = v * (1.0 - s);
  const double q = v * (1.0 - s * f);
  const double t = v * (1.0 - s * (1.0 - f));
  switch (sector % 6) {
    case 0:
      return ColorComponents::rgb(v, t, p, hsba.alpha);
    case 1:
      return ColorComponents::rgb(q, v, p, hsba.alpha);
    case 2:
      return ColorComponents::rgb(p, v, t, hsba.alpha);
    case 3:
      return ColorComponents::rgb(p, q, v, hsba.alpha);
    case 4:
      return ColorComponents::rgb(t, p, v, hsba.alpha);
    default:
      return ColorComponents::rgb(v, p, q, hsba.alpha);
  }
}

}  // namespace cg
