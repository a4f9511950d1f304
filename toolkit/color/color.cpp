#include "toolkit/color/color.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace toolkit {

namespace {

constexpr Color kBlack = Color::grey(0.0, 1.0);
constexpr Color kWhite = Color::grey(1.0, 1.0);

// The brightness that lighter_hsb gives a colour whose text is "#000000".
constexpr double kLightestBlack = 0.078;

}  // namespace

std::optional<Rgba> rgb_view(const Color& color) {
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
std::optional<Hsba> hsb_view(const Color& color) {
  const auto rgba = rgb_view(color);
  if (!rgba) return std::nullopt;
  const double largest = std::max({rgba->red, rgba->green, rgba->blue});
  const double smallest = std::min({rgba->red, rgba->green, rgba->blue});
  const double spread = largest - smallest;
  double hue = 0.0;
  if (spread != 0.0) {
    if (largest == rgba->red) {
      hue = (rgba->green - rgba->blue) / spread;
    } else if (largest == rgba->green) {
      hue = 2.0 + (rgba->blue - rgba->red) / spread;
    } else {
      hue = 4.0 + (rgba->red - rgba->green) / spread;
    }
    hue /= 6.0;
    if (hue < 0.0) hue += 1.0;
  }
  return Hsba{hue, largest == 0.0 ? 0.0 : spread / largest, largest, rgba->alpha};
}

std::optional<double> white_view(const Color& color) {
  if (color.model() != ColorModel::kGrey) return std::nullopt;
  return color.at(0);
}

Color from_hsb(const Hsba& hsba) {
  const double v = hsba.brightness;
  const double s = hsba.saturation;
  if (s == 0.0) return Color::rgb(v, v, v, hsba.alpha);
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
      return Color::rgb(v, t, p, hsba.alpha);
    case 1:
      return Color::rgb(q, v, p, hsba.alpha);
    case 2:
      return Color::rgb(p, v, t, hsba.alpha);
    case 3:
      return Color::rgb(p, q, v, hsba.alpha);
    case 4:
      return Color::rgb(t, p, v, hsba.alpha);
    default:
      return Color::rgb(v, p, q, hsba.alpha);
  }
}

Color color_from_hex_value(std::uint32_t value) {
  return Color::rgb(static_cast<double>((value >> 16) & 0xFF) / 255.0,
                    static_cast<double>((value >> 8) & 0xFF) / 255.0,
                    static_cast<double>(value & 0xFF) / 255.0, 1.0);
}

std::int64_t color_text_field(double component) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  const double product = component * 255.0;
  if (std::isnan(product)) return 0;
  // Narrowing a double beyond float's range is undefined in C++ (the device
  // gets an infinity); either way such a product saturates the field.
  if (product > std::numeric_limits<float>::max()) return kMax;
  if (product < std::numeric_limits<float>::lowest()) return kMin;
  const float narrowed = static_cast<float>(product);
  if (narrowed >= 0x1p63f) return kMax;
  if (narrowed < -0x1p63f) return kMin;
  return std::llround(narrowed);
}

void ColorText::append_field(std::int64_t field) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const auto bits = static_cast<std::uint64_t>(field);
  int digits = 2;
  while (digits < 16 && (bits >> (4 * digits)) != 0) ++digits;
  for (int i = digits - 1; i >= 0; --i) chars_[size_++] = kDigits[(bits >> (4 * i)) & 0xF];
}

ColorText color_text(const Color& color) {
  ColorText text;
  text.chars_[text.size_++] = '#';
  for (std::size_t i = 0; i < 3; ++i) text.append_field(color_text_field(color.at(i)));
  return text;
}

std::optional<ColorText> color_text(const Color* color) {
  if (color == nullptr) return std::nullopt;
  return color_text(*color);
}

bool is_light(const Color& color) {
  double luminance = 0.0;
  if (color.model() == ColorModel::kRgb) {
    const Rgba rgba = *rgb_view(color);
    // Luma weights of ITU-R BT.601 (W3C's perceived brightness), added in order.
    luminance = (rgba.red * 299.0 + rgba.green * 587.0 + rgba.blue * 114.0) / 1000.0;
  } else {
    luminance = white_view(color).value_or(0.0);
  }
  return luminance >= kLightLuminance;
}

std::optional<Color> halfway(const Color& color, const Color& partner) {
  const auto a = rgb_view(color);
  const auto b = rgb_view(partner);
  if (!a || !b) return std::nullopt;
  return Color::rgb((a->red + b->red) * 0.5, (a->green + b->green) * 0.5,
                    (a->blue + b->blue) * 0.5, (a->alpha + b->alpha) * 0.5);
}

Color offset_color(const Color& color) {
  if (color.count() < 2) return color;
  return halfway(color, is_light(color) ? kBlack : kWhite).value_or(color);
}

std::optional<Hsba> lighter_hsb(const Color& color) {
  auto hsba = hsb_view(color);
  if (!hsba) return std::nullopt;
  const double brightness =
      color_text(color) == "#000000" ? kLightestBlack : hsba->brightness * 1.3;
  hsba->brightness = std::min(brightness, 1.0);
  return hsba;
}

std::optional<Hsba> darker_hsb(const Color& color) {
  auto hsba = hsb_view(color);
  if (!hsba) return std::nullopt;
  hsba->brightness *= 0.75;
  return hsba;
}

std::optional<Color> lighter_color(const Color& color) {
  const auto hsba = lighter_hsb(color);
  if (!hsba) return std::nullopt;
  return from_hsb(*hsba);
}

std::optional<Color> darker_color(const Color& color) {
  const auto hsba = darker_hsb(color);
  if (!hsba) return std::nullopt;
  return from_hsb(*hsba);
}

}  // namespace toolkit
