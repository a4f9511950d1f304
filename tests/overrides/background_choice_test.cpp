// The background decision on its own: the order of its steps and its tables,
// with views described by plain facts instead of runtime objects.
#include "overrides/host/background_choice.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

#include "toolkit/color/color.h"

namespace tenebra {
namespace {

using toolkit::Color;

struct FakeView {
  std::string own = "UIView";
  std::optional<std::string> owner = "UIViewController";
  std::optional<Identifier> identifier;
  std::set<std::size_t> kinds;  // class tests the view passes
  std::optional<toolkit::ColorText> text;

  const char* own_class_name() const { return own.c_str(); }
  const char* owner_class_name() const { return owner ? owner->c_str() : nullptr; }
  bool has_identifier(Identifier which) const { return identifier == which; }
  bool is_kind_of(std::size_t test) const { return kinds.count(test) != 0; }
  const toolkit::ColorText* color_text() const { return text ? &*text : nullptr; }
};

std::size_t test_index(std::string_view name) {
  for (std::size_t i = 0; i < kBackgroundClassNames.size(); ++i) {
    if (name == kBackgroundClassNames[i]) return i;
  }
  ADD_FAILURE() << "no class test for " << name;
  return 0;
}

FakeView kind_of(std::string_view class_name) {
  FakeView view;
  view.own = class_name;
  view.kinds = {test_index(class_name)};
  return view;
}

BackgroundDecision choose(FakeView view, std::optional<Color> color, bool enabled = true) {
  if (color) view.text = toolkit::color_text(*color);
  return choose_background(view, enabled);
}

const Color kWhite = Color::rgb(1, 1, 1, 1);
const Color kGoogleRed = Color::rgb(0xDB / 255.0, 0x44 / 255.0, 0x37 / 255.0, 1);
const Color kUnlisted = Color::rgb(0.2, 0.4, 0.6, 1);

TEST(BackgroundChoice, DisabledThemePassesEveryColorOn) {
  // With the theme off, even the listed classes keep what they asked for.
  EXPECT_EQ(choose(kind_of("SearchZeroStateView"), kWhite, false).color, Background::kIncoming);
  FakeView side_panel;
  side_panel.identifier = Identifier::kSidePanel;
  EXPECT_EQ(choose(side_panel, kWhite, false).color, Background::kIncoming);
}

// A view that counts which facts the decision reads.
struct CountingView : FakeView {
  mutable int names = 0, identifiers = 0, kinds_read = 0, texts = 0;
  const char* own_class_name() const { return ++names, FakeView::own_class_name(); }
  const char* owner_class_name() const { return ++names, FakeView::owner_class_name(); }
  bool has_identifier(Identifier which) const {
    return ++identifiers, FakeView::has_identifier(which);
  }
  bool is_kind_of(std::size_t test) const { return ++kinds_read, FakeView::is_kind_of(test); }
  const toolkit::ColorText* color_text() const { return ++texts, FakeView::color_text(); }
};

TEST(BackgroundChoice, FactsAreReadOnlyOnceTheirStepIsReached) {
  // With the theme off nothing about the view or the colour is read, so a
  // background that is no colour passes on as it came.
  CountingView off;
  off.text = toolkit::color_text(kWhite);
  EXPECT_EQ(choose_background(off, false).color, Background::kIncoming);
  EXPECT_EQ(off.names + off.identifiers + off.kinds_read + off.texts, 0);

  // A FLEX view is settled by the names alone.
  CountingView flex;
  flex.own = "FLEXHierarchyView";
  EXPECT_EQ(choose_background(flex, true).color, Background::kIncoming);
  EXPECT_EQ(flex.identifiers + flex.kinds_read + flex.texts, 0);

  // A class test settles the view before its colour is looked at.
  CountingView listed;
  static_cast<FakeView&>(listed) = kind_of("SearchErrorView");
  EXPECT_EQ(choose_background(listed, true).color, Background::kBg);
  EXPECT_EQ(listed.texts, 0);
}

TEST(BackgroundChoice, FlexInOwnOrOwnerClassNameExcludesTheView) {
  FakeView table = kind_of("UITableView");
  table.owner = "FLEXTableViewController";
  EXPECT_EQ(choose(table, kWhite).color, Background::kIncoming);

  FakeView own = kind_of("UITableView");
  own.own = "FLEXTableView";
  EXPECT_EQ(choose(own, kWhite).color, Background::kIncoming);

  // The test is on names only: a class merely inheriting from a FLEX class is
  // not excluded, and the match is case-sensitive.
  FakeView lower;
  lower.own = "FlexibleView";
  EXPECT_EQ(choose(lower, kWhite).color, Background::kBg);

  // A view in no tree has no owner, which fails the test.
  FakeView orphan;
  orphan.owner.reset();
  EXPECT_EQ(choose(orphan, kWhite).color, Background::kBg);
}

TEST(BackgroundChoice, SidePanelIdentifierWinsOverClassAndColor) {
  FakeView view = kind_of("SearchErrorView");
  view.identifier = Identifier::kSidePanel;
  EXPECT_EQ(choose(view, kUnlisted).color, Background::kLighterBg);
  EXPECT_EQ(choose(view, std::nullopt).color, Background::kLighterBg);
}

TEST(BackgroundChoice, ClassTestsComeBeforeColorTexts) {
  EXPECT_EQ(choose(kind_of("SearchErrorView"), kGoogleRed).color, Background::kBg);
  EXPECT_EQ(choose(kind_of("MessageWarningView"), kWhite).color, Background::kLighterBg);
  // An absent colour on a listed class still gets the class's colour.
  EXPECT_EQ(choose(kind_of("SearchZeroStateView"), std::nullopt).color, Background::kBg);
}

TEST(BackgroundChoice, EveryClassTestGivesItsColor) {
  for (std::size_t i = 0; i < kBackgroundClassNames.size(); ++i) {
    const BackgroundDecision decision = choose(kind_of(kBackgroundClassNames[i]), kUnlisted);
    EXPECT_EQ(decision.color, kBackgroundClasses[i].color) << kBackgroundClassNames[i];
    // Only the side-view background container is made transparent.
    EXPECT_EQ(decision.clear_alpha,
              std::string_view(kBackgroundClassNames[i]) == "GOOSideViewBackgroundContainerView");
  }
}

TEST(BackgroundChoice, FirstMatchingClassTestDecides) {
  FakeView both;
  both.kinds = {test_index("GOODialogView"), test_index("SearchZeroStateView")};
  EXPECT_EQ(choose(both, kUnlisted).color, Background::kLighterBg);
}

TEST(BackgroundChoice, SpeedDialTableGoesOnToTheColorTexts) {
  FakeView speed_dial = kind_of("UITableView");
  speed_dial.identifier = Identifier::kSpeedDial;
  EXPECT_EQ(choose(speed_dial, kWhite).color, Background::kBg);
  EXPECT_EQ(choose(speed_dial, kUnlisted).color, Background::kIncoming);
  // A speed-dial table that is also an EmptyView meets test 12.
  speed_dial.kinds.insert(test_index("EmptyView"));
  EXPECT_EQ(choose(speed_dial, kUnlisted).color, Background::kBg);
}

TEST(BackgroundChoice, ColorTextTableMapsSurfaceColors) {
  const FakeView plain;
  struct Case {
    Color color;
    Background expected;
  };
  const Case cases[] = {
      {kWhite, Background::kBg},
      {Color::grey(1, 1), Background::kBg},  // "#FFFF00"
      {Color::rgb(0xE0 / 255.0, 0xE0 / 255.0, 0xE0 / 255.0, 1), Background::kLighterBg},
      {kGoogleRed, Background::kLighterBg},
      {Color::grey(0xF7 / 255.0, 0xCC / 255.0), Background::kLighterBgLightened},
      {Color::grey(0xE6 / 255.0, 0xF2 / 255.0), Background::kRed},
      {Color::grey(0xF2 / 255.0, 0xE6 / 255.0), Background::kIncomingDarkenedThrice},
      // The palette's own colours pass through unlisted views.
      {Color::rgb(0, 0, 0, 1), Background::kIncoming},
      {Color::rgb(0x1B / 255.0, 0x1B / 255.0, 0x1B / 255.0, 1), Background::kIncoming},
      // A true yellow has the same text as opaque white grey.
      {Color::rgb(1, 1, 0, 1), Background::kBg},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(choose(plain, c.color).color, c.expected) << toolkit::color_text(c.color).view();
  }
  EXPECT_EQ(choose(plain, std::nullopt).color, Background::kIncoming);
}

TEST(BackgroundChoice, EveryRowTextIsWellFormed) {
  // Rows compare exactly, so each must be "#" and three upper-case fields.
  for (const auto& row : kBackgroundColorTexts) {
    ASSERT_EQ(row.text.size(), 7u) << row.text;
    EXPECT_EQ(row.text[0], '#');
    for (char c : row.text.substr(1)) EXPECT_TRUE(std::isdigit(c) || (c >= 'A' && c <= 'F'));
  }
}

}  // namespace
}  // namespace tenebra
