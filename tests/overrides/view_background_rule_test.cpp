// The view background rule wired into the runtime: what views of the host
// app end up with when the app sets their backgrounds.
#include <gtest/gtest.h>

#include <string>

#include "core/palette.h"
#include "core/settings.h"
#include "platform/coregraphics/geometry.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"
#include "platform/uikit/ui_color.h"
#include "toolkit/color/color.h"
#include "toolkit/color/platform_color.h"
#include "tools/support/themed_process.h"

namespace tenebra {
namespace {

using objc::msg;
using objc::Ref;

std::string text_of(id color) {
  return color == nil ? "nil" : std::string(toolkit::color_text(*toolkit::color_of(color)).view());
}

class ViewBackgroundRule : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::bring_up_theme(); }
  void TearDown() override { settings = default_settings(); }

  // A new view of the class inside the tree of a controller of the class.
  id view_in_tree(const char* view_class, const char* controller_class = "UIViewController") {
    controller_ = Ref::adopt(msg<id>(objc_getClass(controller_class), "new"));
    id view = msg<id>(msg<id>(objc_getClass(view_class), "alloc"),
                      "initWithFrame:", CGRectMake(0, 0, 10, 10));
    msg<void>(msg<id>(controller_, "view"), "addSubview:", view);
    msg<void>(view, "release");
    return view;
  }
  static id set(id view, id color) {
    msg<void>(view, "setBackgroundColor:", color);
    return msg<id>(view, "backgroundColor");
  }
  static id rgb(double r, double g, double b, double a = 1.0) {
    return msg<id>(objc_getClass("UIColor"), "colorWithRed:green:blue:alpha:", r, g, b, a);
  }
  static id grey(int white, int alpha) {
    return msg<id>(objc_getClass("UIColor"), "colorWithWhite:alpha:", white / 255.0, alpha / 255.0);
  }

  ns::AutoreleasePool pool_;
  Ref controller_;
};

TEST_F(ViewBackgroundRule, TypicalEventWhiteViewTurnsBlack) {
  id view = view_in_tree("UIView");
  EXPECT_EQ(set(view, rgb(1, 1, 1)), bgColor);
  // Opaque white grey has the colour text "#FFFF00", a row of the table.
  EXPECT_EQ(set(view, grey(0xFF, 0xFF)), bgColor);
  EXPECT_EQ(set(view, rgb(0xE0 / 255.0, 0xE0 / 255.0, 0xE0 / 255.0)), lighterBgColor);
}

TEST_F(ViewBackgroundRule, ThemeOffPassesTheColorOn) {
  settings.enabled = 0;
  id view = view_in_tree("SearchZeroStateView");
  id white = rgb(1, 1, 1);
  EXPECT_EQ(set(view, white), white);
}

TEST_F(ViewBackgroundRule, FlexOwnerKeepsItsColors) {
  if (objc_getClass("FLEXTableViewController") == Nil) {
    objc::ClassDefinition("FLEXTableViewController", objc_getClass("UIViewController")).finish();
  }
  id view = view_in_tree("UITableView", "FLEXTableViewController");
  id white = rgb(1, 1, 1);
  EXPECT_EQ(set(view, white), white);
}

TEST_F(ViewBackgroundRule, SideViewContainerIsClearedOnEveryAssignment) {
  id view = view_in_tree("GOOSideViewBackgroundContainerView");
  for (int i = 0; i < 2; ++i) {
    msg<void>(view, "setAlpha:", 1.0);
    EXPECT_EQ(set(view, rgb(0.3, 0.3, 0.3)), lighterBgColor);
    EXPECT_EQ(msg<double>(view, "alpha"), 0.0);
  }
}

TEST_F(ViewBackgroundRule, SpecialRowsDeriveTheirColors) {
  id view = view_in_tree("UIView");
  EXPECT_EQ(text_of(set(view, grey(0xF7, 0xCC))), "#232323");
  EXPECT_EQ(text_of(set(view, grey(0xE6, 0xF2))), "#FF0000");
  // Three darkenings of the incoming grey 0xF2: 242 × 0.421875 ≈ 102.
  EXPECT_EQ(text_of(set(view, grey(0xF2, 0xE6))), "#666666");
}

TEST_F(ViewBackgroundRule, AbsentColorTakesTheClassColorOrStaysAbsent) {
  EXPECT_EQ(set(view_in_tree("SearchZeroStateView"), nil), bgColor);
  EXPECT_EQ(set(view_in_tree("UIView"), nil), nil);
}

TEST_F(ViewBackgroundRule, BackgroundThatIsNoColorPassesOn) {
  // It has no colour text, so it matches no row, with the theme on or off.
  id not_a_color = NSSTR("white");
  id view = view_in_tree("UIView");
  EXPECT_EQ(set(view, not_a_color), not_a_color);
  settings.enabled = 0;
  EXPECT_EQ(set(view, not_a_color), not_a_color);
}

TEST_F(ViewBackgroundRule, ViewInNoTreeIsMappedByColor) {
  Ref view = Ref::adopt(msg<id>(objc_getClass("UIView"), "new"));
  EXPECT_EQ(set(view, rgb(1, 1, 1)), bgColor);
}

}  // namespace
}  // namespace tenebra
