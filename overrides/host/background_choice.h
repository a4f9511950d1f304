// Which background colour a view receives. The decision is pure: it sees the
// view through a small interface (its class name, its owner's class name,
// its identifier, the class tests and the colour text of the incoming
// colour) and names the colour to pass on. It asks for each fact only when
// its step is reached, so a call the gate or the "FLEX" test settles reads
// nothing else. The rule in view_background.cpp gathers those facts from the
// runtime and applies the decision.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#include "toolkit/color/color.h"

namespace tenebra {

enum class Background {
  kIncoming,                // the color the app asked for, unchanged
  kBg,                      // the palette's background
  kLighterBg,               // the palette's raised surface
  kLighterBgLightened,      // the raised surface made lighter once
  kRed,                     // the platform's opaque pure red
  kIncomingDarkenedThrice,  // the incoming color made darker three times
};

struct BackgroundDecision {
  Background color = Background::kIncoming;
  bool clear_alpha = false;  // set the view's alpha to 0 before the background
};

// What a class row does besides naming its color.
enum BackgroundClassFlag : unsigned {
  kNoFlags = 0,
  kClearAlpha = 1 << 0,       // the view is made transparent as well
  kNotForSpeedDial = 1 << 1,  // a view with the speed-dial identifier skips the row
};

struct BackgroundClassRow {
  const char* class_name;
  Background color;
  unsigned flags;
};

// The classes tested, in order, with the color each gets.
inline constexpr std::array<BackgroundClassRow, 14> kBackgroundClasses = {{
    {"GOOSideViewLegacyContentView", Background::kLighterBg, kNoFlags},
    {"SDPSideViewContentView", Background::kLighterBg, kNoFlags},
    {"MDCFlexibleHeaderView", Background::kLighterBg, kNoFlags},
    {"ASMHeaderView", Background::kLighterBg, kNoFlags},
    {"GOODialogView", Background::kLighterBg, kNoFlags},
    {"GOOSideViewBackgroundContainerView", Background::kLighterBg, kClearAlpha},
    {"GOOSideViewCarouselView", Background::kLighterBg, kNoFlags},
    {"SearchZeroStateView", Background::kBg, kNoFlags},
    {"SearchErrorView", Background::kBg, kNoFlags},
    {"MessageWarningView", Background::kLighterBg, kNoFlags},
    {"UITableView", Background::kBg, kNotForSpeedDial},
    {"EmptyView", Background::kBg, kNoFlags},
    {"ZeroStateView", Background::kBg, kNoFlags},
    {"ComposeViewHeader", Background::kBg, kNoFlags},
}};

// The class names of kBackgroundClasses, in order, for looking them up.
inline constexpr std::array<const char*, kBackgroundClasses.size()> kBackgroundClassNames = [] {
  std::array<const char*, kBackgroundClasses.size()> names{};
  for (std::size_t i = 0; i < names.size(); ++i) names[i] = kBackgroundClasses[i].class_name;
  return names;
}();

struct ColorTextRow {
  std::string_view text;
  Background color;
};

// The app's surface colors by color text. Many are greys, whose text is
// made of their white, their alpha and "00".
inline constexpr std::array<ColorTextRow, 28> kBackgroundColorTexts = {{
    {"#FFFFFF", Background::kBg},         {"#FFFF00", Background::kBg},
    {"#EEFF00", Background::kBg},         {"#F0F0F0", Background::kBg},
    {"#FDFF00", Background::kBg},         {"#F5F5F5", Background::kBg},
    {"#ECFF00", Background::kBg},         {"#EEEEEE", Background::kBg},
    {"#FAFAFA", Background::kBg},         {"#FEFF00", Background::kBg},
    {"#F5FF00", Background::kBg},         {"#CCFF00", Background::kBg},
    {"#FDFDFD", Background::kBg},         {"#EBEBEB", Background::kBg},
    {"#00A4B4", Background::kLighterBg}, {"#DB4437", Background::kLighterBg},
    {"#E9E9E9", Background::kLighterBg}, {"#EDFF00", Background::kLighterBg},
    {"#EDEDED", Background::kLighterBg}, {"#E0FF00", Background::kLighterBg},
    {"#F0FF00", Background::kLighterBg}, {"#ECF2FD", Background::kLighterBg},
    {"#E8F0FE", Background::kLighterBg}, {"#D23F31", Background::kLighterBg},
    {"#E0E0E0", Background::kLighterBg}, {"#F7CC00", Background::kLighterBgLightened},
    {"#E6F200", Background::kRed},        {"#F2E600", Background::kIncomingDarkenedThrice},
}};

// Every row's text is "#" and six digits, and each is compared as one
// number made of its seven characters.
inline constexpr std::size_t kColorTextLength = 7;
constexpr std::uint64_t packed_color_text(std::string_view text) {
  std::uint64_t packed = 0;
  for (const char c : text) packed = packed << 8 | static_cast<unsigned char>(c);
  return packed;
}
inline constexpr auto kPackedColorTexts = [] {
  std::array<std::uint64_t, kBackgroundColorTexts.size()> packed{};
  for (std::size_t row = 0; row < packed.size(); ++row) {
    packed[row] = packed_color_text(kBackgroundColorTexts[row].text);
  }
  return packed;
}();
static_assert([] {
  for (const auto& row : kBackgroundColorTexts) {
    if (row.text.size() != kColorTextLength) return false;
  }
  return true;
}());

// Accessibility identifiers the decision asks about.
enum class Identifier { kSidePanel, kSpeedDial };

// `View` answers:
//   const char* own_class_name()      the receiver's own class name
//   const char* owner_class_name()    the owning responder's, or null
//   bool has_identifier(Identifier)   its identifier is "GOOSidePanelAccessibilityIdentifier"
//                                     (kSidePanel) or "SpeedDialTableView" (kSpeedDial)
//   bool is_kind_of(std::size_t i)    the class test of kBackgroundClasses[i]
//   const toolkit::ColorText* color_text()
//                                     the incoming color's color text, null
//                                     for an absent color or one with none
template <typename View>
BackgroundDecision choose_background(const View& view, bool enabled) {
  if (!enabled) return {};

  const auto names_flex = [](const char* name) {
    return name != nullptr && std::strstr(name, "FLEX") != nullptr;
  };
  if (names_flex(view.owner_class_name()) || names_flex(view.own_class_name())) return {};

  if (view.has_identifier(Identifier::kSidePanel)) return {Background::kLighterBg};

  for (std::size_t test = 0; test < kBackgroundClasses.size(); ++test) {
    const BackgroundClassRow& row = kBackgroundClasses[test];
    if (!view.is_kind_of(test)) continue;
    if ((row.flags & kNotForSpeedDial) != 0 && view.has_identifier(Identifier::kSpeedDial)) {
      continue;
    }
    return {row.color, (row.flags & kClearAlpha) != 0};
  }

  if (const toolkit::ColorText* text = view.color_text();
      text != nullptr && text->view().size() == kColorTextLength) {
    const std::uint64_t packed = packed_color_text(text->view());
    for (std::size_t row = 0; row < kPackedColorTexts.size(); ++row) {
      if (packed == kPackedColorTexts[row]) return {kBackgroundColorTexts[row].color};
    }
  }
  return {};
}

}  // namespace tenebra
