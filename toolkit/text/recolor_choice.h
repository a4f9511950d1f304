// The decision of replaceColorsWith: (NSAttributedString(color)): from the
// colour text of the first character's foreground colour and that of the
// wanted colour, whether the text keeps its colours or is given one new
// foreground colour, and which.
#pragma once

#include <optional>

#include "toolkit/color/color.h"

namespace toolkit {

enum class Recolor {
  kKeep,       // return the receiver itself
  kWanted,     // the whole text in the wanted colour
  kLightBlue,  // the whole text in "#51B8FF", the app's mid-grey replaced
};

// The app's mid-grey and the light blue that takes its place.
inline constexpr const char* kMidGreyText = "#767676";
inline constexpr const char* kLightBlueHex = "#51B8FF";

// `first` is absent when the first character has no foreground colour.
// Colours compare by colour text, so alpha plays no part and a grey compares
// by its grey text.
inline Recolor choose_recolor(const std::optional<ColorText>& first, const ColorText& wanted) {
  if (!first || *first == wanted) return Recolor::kKeep;
  return *first == kMidGreyText ? Recolor::kLightBlue : Recolor::kWanted;
}

}  // namespace toolkit
