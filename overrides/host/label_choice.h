// Which labels keep their own text colours: the platform's private labels
// (class names beginning with "_") and the battery views of the status bar.
// Only the label's own class name counts, never an ancestor's.
#pragma once

#include <array>
#include <string_view>

namespace tenebra {

inline constexpr std::array<std::string_view, 2> kExcludedLabelPrefixes = {"_", "SparkBatteryView"};

inline bool is_excluded_label(const char* own_class_name) {
  if (own_class_name == nullptr) return false;
  const std::string_view name(own_class_name);
  for (std::string_view prefix : kExcludedLabelPrefixes) {
    if (name.starts_with(prefix)) return true;
  }
  return false;
}

}  // namespace tenebra
