// The theme's colour operations: reading a colour from hex text, the colour
// text that names a colour (the key by which the rules compare colours), the
// light test, and the derived colours (halfway to black or white, lighter,
// darker). Pure functions over colour values; the UIColor(Kestrow) category
// offers them on the platform's colours.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/coregraphics/color_components.h"

namespace toolkit {

using cg::ColorComponents;

// The colour named by a hex text such as "#1B1B1B": the first character is
// skipped whatever it is, then one hexadecimal integer is scanned as
// ns::scan_hex_int does; its bits 16-23, 8-15 and 0-7 are red, green and blue
// (each /255.0), alpha is 1.0. No digits give opaque black, more than eight
// give opaque white, eight (#RRGGBBAA) keep the last six. An empty text gives
// opaque black. The UTF-8 form counts its first character as the first UTF-16
// code unit of the same text, as the platform's texts do.
ColorComponents color_from_hex(std::u16string_view text);
ColorComponents color_from_hex(std::string_view utf8);

// A colour text: "#" and three upper-case hexadecimal fields of at least two
// digits, each up to sixteen (a negative field is a 64-bit two's complement).
// A plain value of fixed capacity, so forming one allocates nothing.
class ColorText {
 public:
  static constexpr std::size_t kCapacity = 1 + 3 * 16;

  std::string_view view() const { return {chars_.data(), size_}; }
  const char* c_str() const { return chars_.data(); }
  std::size_t size() const { return size_; }

  friend bool operator==(const ColorText& a, const ColorText& b) { return a.view() == b.view(); }
  friend bool operator==(const ColorText& a, std::string_view b) { return a.view() == b; }

 private:
  friend ColorText color_text(const ColorComponents& color);
  void append_field(std::int64_t field);

  std::array<char, kCapacity + 1> chars_{};
  std::size_t size_ = 0;
};

// The colour text field of one component: component × 255.0 in double,
// narrowed to float, rounded half away from zero to a signed 64-bit integer.
// Beyond that range the field saturates (to INT64_MAX or INT64_MIN) and a
// component that is not a number gives 0, as the device's float-to-integer
// conversion does.
std::int64_t color_text_field(double component);

// The colour text of `color`: its first three stored components in order
// (a missing one counts 0), whatever the model, so a grey of white w and
// alpha a reads as w, a, "00". The alpha of an RGB colour never shows.
ColorText color_text(const ColorComponents& color);
// An absent colour has no colour text.
std::optional<ColorText> color_text(const ColorComponents* color);

// The luminance at or above which a colour is light: the float nearest 0.7.
inline constexpr double kLightLuminance = static_cast<double>(0.7f);

// Whether `color` is light: an RGB colour by its luminance, a grey by its
// white, any other colour never; a luminance that is not a number is not
// light.
bool is_light(const ColorComponents& color);

// The colour halfway between `color` and black when it is light, white
// otherwise, alpha included (so alpha moves halfway to 1.0); an RGB colour.
// A colour with fewer than two components, or with no RGB view, is returned
// as it is.
ColorComponents offset_color(const ColorComponents& color);
// The halfway mix of two colours' RGB views, alpha included; absent when
// either has no RGB view.
std::optional<ColorComponents> halfway(const ColorComponents& color,
                                       const ColorComponents& partner);

// The HSB values of the lighter colour: brightness × 1.3 capped at 1.0, or
// 0.078 when the colour text of `color` is "#000000"; absent when `color` has
// no HSB view.
std::optional<cg::Hsba> lighter_hsb(const ColorComponents& color);
// The HSB values of the darker colour: brightness × 0.75, no lower bound;
// absent when `color` has no HSB view.
std::optional<cg::Hsba> darker_hsb(const ColorComponents& color);

// The RGB colours made from lighter_hsb and darker_hsb.
std::optional<ColorComponents> lighter_color(const ColorComponents& color);
std::optional<ColorComponents> darker_color(const ColorComponents& color);

}  // namespace toolkit
