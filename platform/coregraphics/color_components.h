// The value inside a platform colour (what CGColor holds): a colour model and
// its components as doubles, alpha last. Components are not clamped, so
// extended-range values pass through arithmetic as they are.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>

namespace cg {

enum class ColorModel { kRgb, kGrey, kOther };

class ColorComponents {
 public:
  static constexpr std::size_t kMaxComponents = 5;

  static constexpr ColorComponents rgb(double red, double green, double blue, double alpha) {
    return ColorComponents(ColorModel::kRgb, {red, green, blue, alpha}, 4);
  }
  static constexpr ColorComponents grey(double white, double alpha) {
    return ColorComponents(ColorModel::kGrey, {white, alpha}, 2);
  }
  // A colour of neither model; a pattern colour has its alpha only.
  static constexpr ColorComponents other(std::span<const double> components) {
    ColorComponents c(ColorModel::kOther, {},
                      components.size() < kMaxComponents ? components.size() : kMaxComponents);
    for (std::size_t i = 0; i < c.count_; ++i) c.values_[i] = components[i];
    return c;
  }

  constexpr ColorModel model() const { return model_; }
  constexpr std::size_t count() const { return count_; }
  constexpr std::span<const double> components() const { return {values_.data(), count_}; }
  // The component at `index`, or 0 where the colour has none.
  constexpr double at(std::size_t index) const { return index < count_ ? values_[index] : 0.0; }
  constexpr double alpha() const { return count_ == 0 ? 0.0 : values_[count_ - 1]; }

  friend constexpr bool operator==(const ColorComponents&, const ColorComponents&) = default;

 private:
  constexpr ColorComponents(ColorModel model, std::array<double, kMaxComponents> values,
                            std::size_t count)
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

struct WhiteAlpha {
  double white, alpha;
};

// The RGB view: an RGB colour's components, a grey's white three times;
// none for other colours.
std::optional<Rgba> rgb_view(const ColorComponents& color);
// The HSB view by the hexcone model (hue as a fraction of a turn, 0 to 1);
// none for other colours.
std::optional<Hsba> hsb_view(const ColorComponents& color);
// The white view: a grey's white and alpha; none for other models.
std::optional<WhiteAlpha> white_view(const ColorComponents& color);
// The inverse hexcone conversion: an RGB colour. A hue outside 0 to 1 wraps
// around the turn; a hue that is not a finite number counts as 0.
ColorComponents from_hsb(const Hsba& hsba);

}  // namespace cg
