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
  incoming,                  // the colour the app asked for, unchanged
  bg,                        // the palette's background
  lighter_bg,                // the palette's raised surface
  lighter_bg_lightened,      // the raised surface made lighter once
  red,                       // the platform's opaque pure red
  incoming_darkened_thrice,  // the incoming colour made darker three times
};

struct BackgroundDecision {
  Background colour = Background::incoming;
  bool clear_alpha = false;  // set the view's alpha to 0 before the background
};

// The classes tested, in order, with the colour each gets.
inline constexpr std::array<const char*, 14> kBackgroundClassNames = {
    "GOOSideViewLegacyContentView",
    "SDPSideViewContentView",
    "MDCFlexibleHeaderView",
    "ASMHeaderView",
    "GOODialogView",
    "GOOSideViewBackgroundContainerView",
    "GOOSideViewCarouselView",
    "SearchZeroStateView",
    "SearchErrorView",
    "MessageWarningView",
    "UITableView",
    "EmptyView",
    "ZeroStateView",
    "ComposeViewHeader",
};
inline constexpr std::array<Background, 14> kBackgroundClassColours = {
    Background::lighter_bg, Background::lighter_bg, Background::lighter_bg, Background::lighter_bg,
    Background::lighter_bg, Background::lighter_bg, Background::lighter_bg, Background::bg,
    Background::bg,         Background::lighter_bg, Background::bg,         Background::bg,
    Background::bg,         Background::bg,
};
inline constexpr std::size_t kSideViewBackgroundContainerTest = 5;
inline constexpr std::size_t kTableViewTest = 10;

struct ColourTextRow {
  std::string_view text;
  Background colour;
};

// The app's surface colours by colour text. Many are greys, whose text is
// made of their white, their alpha and "00".
inline constexpr std::array<ColourTextRow, 28> kBackgroundColourTexts = {{
    {"#FFFFFF", Background::bg},         {"#FFFF00", Background::bg},
    {"#EEFF00", Background::bg},         {"#F0F0F0", Background::bg},
    {"#FDFF00", Background::bg},         {"#F5F5F5", Background::bg},
    {"#ECFF00", Background::bg},         {"#EEEEEE", Background::bg},
    {"#FAFAFA", Background::bg},         {"#FEFF00", Background::bg},
    {"#F5FF00", Background::bg},         {"#CCFF00", Background::bg},
    {"#FDFDFD", Background::bg},         {"#EBEBEB", Background::bg},
    {"#00A4B4", Background::lighter_bg}, {"#DB4437", Background::lighter_bg},
    {"#E9E9E9", Background::lighter_bg}, {"#EDFF00", Background::lighter_bg},
    {"#EDEDED", Background::lighter_bg}, {"#E0FF00", Background::lighter_bg},
    {"#F0FF00", Background::lighter_bg}, {"#ECF2FD", Background::lighter_bg},
    {"#E8F0FE", Background::lighter_bg}, {"#D23F31", Background::lighter_bg},
    {"#E0E0E0", Background::lighter_bg}, {"#F7CC00", Background::lighter_bg_lightened},
    {"#E6F200", Background::red},        {"#F2E600", Background::incoming_darkened_thrice},
}};

// Every row's text is "#" and six digits, and each is compared as one
// number made of its seven characters.
inline constexpr std::size_t kColourTextLength = 7;
constexpr std::uint64_t packed_colour_text(std::string_view text) {
  std::uint64_t packed = 0;
  for (const char c : text) packed = packed << 8 | static_cast<unsigned char>(c);
  return packed;
}
inline constexpr auto kPackedColourTexts = [] {
  std::array<std::uint64_t, kBackgroundColourTexts.size()> packed{};
  for (std::size_t row = 0; row < packed.size(); ++row) {
    packed[row] = packed_colour_text(kBackgroundColourTexts[row].text);
  }
  return packed;
}();
static_assert([] {
  for (const auto& row : kBackgroundColourTexts) {
    if (row.text.size() != kColourTextLength) return false;
  }
  return true;
}());

// Accessibility identifiers the decision asks about.
enum class Identifier { side_panel, speed_dial };

// `View` answers:
//   const char* own_class_name()      the receiver's own class name
//   const char* owner_class_name()    the owning responder's, or null
//   bool has_identifier(Identifier)   its identifier is "GOOSidePanelAccessibilityIdentifier"
//                                     (side_panel) or "SpeedDialTableView" (speed_dial)
//   bool is_kind_of(std::size_t i)    the class test kBackgroundClassNames[i]
//   const toolkit::ColorText* color_text()
//                                     the incoming colour's colour text, null
//                                     for an absent colour or one with none
template <typename View>
BackgroundDecision choose_background(const View& view, bool enabled) {
  if (!enabled) return {};

  const auto names_flex = [](const char* name) {
    return name != nullptr && std::strstr(name, "FLEX") != nullptr;
  };
  if (names_flex(view.owner_class_name()) || names_flex(view.own_class_name())) return {};

  if (view.has_identifier(Identifier::side_panel)) return {Background::lighter_bg};

  for (std::size_t test = 0; test < kBackgroundClassNames.size(); ++test) {
    if (!view.is_kind_of(test)) continue;
    if (test == kTableViewTest && view.has_identifier(Identifier::speed_dial)) continue;
    return {kBackgroundClassColours[test], test == kSideViewBackgroundContainerTest};
  }

  if (const toolkit::ColorText* text = view.color_text();
      text != nullptr && text->view().size() == kColourTextLength) {
    const std::uint64_t packed = packed_colour_text(text->view());
    for (std::size_t row = 0; row < kPackedColourTexts.size(); ++row) {
      if (packed == kPackedColourTexts[row]) return {kBackgroundColourTexts[row].colour};
    }
  }
  return {};
}

}  // namespace tenebra
