#include "toolkit/color/color.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/foundation/hex_scan.h"
#include "platform/foundation/unicode.h"

namespace toolkit {

namespace {

constexpr ColorComponents kBlack = ColorComponents::grey(0.0, 1.0);
constexpr ColorComponents kWhite = ColorComponents::grey(1.0, 1.0);

// The brightness that lighter_hsb gives a colour whose text is "#000000".
constexpr double kLightestBlack = 0.078;

}  // namespace

ColorComponents color_from_hex(std::u16string_view text) {
  // An empty text has no second character: the scan reads nothing, so 0.
  const std::uint32_t value = ns::scan_hex_int(text, 1).value;
  return ColorComponents::rgb(static_cast<double>((value >> 16) & 0xFF) / 255.0,
                              static_cast<double>((value >> 8) & 0xFF) / 255.0,
                              static_cast<double>(value & 0xFF) / 255.0, 1.0);
}

ColorComponents color_from_hex(std::string_view utf8) {
  return color_from_hex(ns::utf16_from_utf8(utf8));
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

ColorText color_text(const ColorComponents& color) {
  ColorText text;
  text.chars_[text.size_++] = '#';
  for (std::size_t i = 0; i < 3; ++i) text.append_field(color_text_field(color.at(i)));
  return text;
}

std::optional<ColorText> color_text(const ColorComponents* color) {
  if (color == nullptr) return std::nullopt;
  return color_text(*color);
}

bool is_light(const ColorComponents& color) {
  double luminance = 0.0;
  cg::Rgba rgba;
  double white = 0.0;
  double alpha = 0.0;
  if (color.model() == cg::ColorModel::rgb && cg::rgb_view(color, rgba)) {
    // Luma weights of ITU-R BT.601 (W3C's perceived brightness), added in order.
    luminance = (rgba.red * 299.0 + rgba.green * 587.0 + rgba.blue * 114.0) / 1000.0;
  } else if (cg::white_view(color, white, alpha)) {
    luminance = white;
  }
  return luminance >= kLightLuminance;
}

std::optional<ColorComponents> halfway(const ColorComponents& color,
                                       const ColorComponents& partner) {
  cg::Rgba a;
  cg::Rgba b;
  if (!cg::rgb_view(color, a) || !cg::rgb_view(partner, b)) return std::nullopt;
  return ColorComponents::rgb((a.red + b.red) * 0.5, (a.green + b.green) * 0.5,
                              (a.blue + b.blue) * 0.5, (a.alpha + b.alpha) * 0.5);
}

ColorComponents offset_color(const ColorComponents& color) {
  if (color.count() < 2) return color;
  return halfway(color, is_light(color) ? kBlack : kWhite).value_or(color);
}

std::optional<cg::Hsba> lighter_hsb(const ColorComponents& color) {
  cg::Hsba hsba;
  if (!cg::hsb_view(color, hsba)) return std::nullopt;
  const double brightness = color_text(color) == "#000000" ? kLightestBlack : hsba.brightness * 1.3;
  hsba.brightness = std::min(brightness, 1.0);
  return hsba;
}

std::optional<cg::Hsba> darker_hsb(const ColorComponents& color) {
  cg::Hsba hsba;
  if (!cg::hsb_view(color, hsba)) return std::nullopt;
  hsba.brightness *= 0.75;
  return hsba;
}

std::optional<ColorComponents> lighter_color(const ColorComponents& color) {
  const auto hsba = lighter_hsb(color);
  if (!hsba) return std::nullopt;
  return cg::from_hsb(*hsba);
}

std::optional<ColorComponents> darker_color(const ColorComponents& color) {
  const auto hsba = darker_hsb(color);
  if (!hsba) return std::nullopt;
  return cg::from_hsb(*hsba);
}

}  // namespace toolkit
