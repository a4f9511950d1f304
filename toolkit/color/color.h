// The theme's color value and its operations: the color of a hex text's
// value, the color text that names a color (the key by which the rules
// compare colors), the light test, and the derived colors (halfway to black
// or white, lighter, darker). Pure functions over the standard library; the
// UIColor(Kestrow) category offers them on the platform's colors.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace toolkit {

enum class ColorModel { kRgb, kGrey, kOther };

// A color value: its model and that model's components as doubles, alpha
// last. Components are not clamped, so extended-range values pass through
// the arithmetic as they are.
class Color {
 public:
  static constexpr std::size_t kMaxComponents = 5;

  static constexpr Color rgb(double red, double green, double blue, double alpha) {
    return Color(ColorModel::kRgb, {red, green, blue, alpha}, 4);
  }
  static constexpr Color grey(double white, double alpha) {
    return Color(ColorModel::kGrey, {white, alpha}, 2);
  }
  // A color of neither model (a pattern color has its alpha only); beyond
  // kMaxComponents the components are dropped.
  static constexpr Color other(std::span<const double> components) {
    Color c(ColorModel::kOther, {},
            components.size() < kMaxComponents ? components.size() : kMaxComponents);
    for (std::size_t i = 0; i < c.count_; ++i) c.values_[i] = components[i];
    return c;
  }

  constexpr ColorModel model() const { return model_; }
  constexpr std::size_t count() const { return count_; }
  constexpr std::span<const double> components() const { return {values_.data(), count_}; }
  // The component at `index`, or 0 where the color has none.
  constexpr double at(std::size_t index) const { return index < count_ ? values_[index] : 0.0; }
  constexpr double alpha() const { return count_ == 0 ? 0.0 : values_[count_ - 1]; }

  friend constexpr bool operator==(const Color&, const Color&) = default;

 private:
  constexpr Color(ColorModel model, std::array<double, kMaxComponents> values, std::size_t count)
      : model_(model), values_(values), count_(count) {}

  ColorModel model_;
  std::array<double, kMaxComponents> values_;
  std::size_t count_;
};

struct Rgba {
  double red, green, blue, alpha;
};

struct Hsba {
  double hue, saturation, brightness, alpha;
};

// The RGB view: an RGB color's components, a grey's white three times;
// none for other colors.
std::optional<Rgba> rgb_view(const Color& color);
// The HSB view by the hexcone model (hue as a fraction of a turn, 0 to 1);
// none for other colors.
std::optional<Hsba> hsb_view(const Color& color);
// The white view of a grey: its white; none for other models.
std::optional<double> white_view(const Color& color);
// The inverse hexcone conversion: an RGB color. A hue outside 0 to 1 wraps
// around the turn; a hue that is not a finite number counts as 0.
Color from_hsb(const Hsba& hsba);

// The color of a hex text's scanned value (the text's first character
// skipped, one hexadecimal integer read as NSScanner's scanHexInt: does):
// its bits 16-23, 8-15 and 0-7 are red, green and blue (each /255.0), alpha
// is 1.0. So "#RRGGBB" names its color, "#RRGGBBAA" keeps its last six
// digits, and a text with no digits (value 0) is opaque black.
Color color_from_hex_value(std::uint32_t value);

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
  friend ColorText color_text(const Color& color);
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
ColorText color_text(const Color& color);
// An absent color has no color text.
std::optional<ColorText> color_text(const Color* color);

// The luminance at or above which a colour is light: the float nearest 0.7.
inline constexpr double kLightLuminance = static_cast<double>(0.7f);

// Whether `color` is light: an RGB colour by its luminance, a grey by its
// white, any other colour never; a luminance that is not a number is not
// light.
bool is_light(const Color& color);

// The colour halfway between `color` and black when it is light, white
// otherwise, alpha included (so alpha moves halfway to 1.0); an RGB colour.
// A colour with fewer than two components, or with no RGB view, is returned
// as it is.
Color offset_color(const Color& color);
// The halfway mix of two colours' RGB views, alpha included; absent when
// either has no RGB view.
std::optional<Color> halfway(const Color& color, const Color& partner);

// The HSB values of the lighter colour: brightness × 1.3 capped at 1.0, or
// 0.078 when the colour text of `color` is "#000000"; absent when `color` has
// no HSB view.
std::optional<Hsba> lighter_hsb(const Color& color);
// The HSB values of the darker colour: brightness × 0.75, no lower bound;
// absent when `color` has no HSB view.
std::optional<Hsba> darker_hsb(const Color& color);

// The RGB colours made from lighter_hsb and darker_hsb.
std::optional<Color> lighter_color(const Color& color);
std::optional<Color> darker_color(const Color& color);

}  // namespace toolkit
