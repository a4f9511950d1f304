// The decision of the grey colour rule (+[UIColor colorWithWhite:alpha:]):
// two dark greys of the app become the light grey 0.8, compared by their
// white and alpha in truncated thousandths.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace tenebra {

inline constexpr double kGreyScale = 1000.0;
inline constexpr double kLightGreyWhite = 0.8;

// A level times 1000.0 truncated toward zero to a signed 32-bit integer; a
// value beyond the range becomes its nearest end and a NaN 0.
inline std::int32_t thousandths(double level) {
  const double scaled = level * kGreyScale;
  if (std::isnan(scaled)) return 0;
  if (scaled <= std::numeric_limits<std::int32_t>::min())
    return std::numeric_limits<std::int32_t>::min();
  if (scaled >= std::numeric_limits<std::int32_t>::max())
    return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(scaled);
}

// The white level to make instead, or nothing to leave the request as it
// is: an opaque grey of 0.128 up to 0.130, and black at 54 % alpha.
inline std::optional<double> replaced_white(double white, double alpha) {
  const std::int32_t w = thousandths(white);
  const std::int32_t a = thousandths(alpha);
  if (w == 128 || w == 129) return a == 1000 ? std::optional(kLightGreyWhite) : std::nullopt;
  if (w == 0) return a == 540 ? std::optional(kLightGreyWhite) : std::nullopt;
  return std::nullopt;
}

}  // namespace tenebra
