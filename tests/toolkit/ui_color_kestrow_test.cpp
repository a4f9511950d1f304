// The UIColor(Kestrow) category on the runtime class: each method reaches
// the toolkit's operation with the colour's value and answers platform
// objects (nil where the operation has no result).
#include "toolkit/color/ui_color_kestrow.h"

#include <gtest/gtest.h>

#include "platform/foundation/ns_exception.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"
#include "platform/uikit/ui_color.h"
#include "toolkit/color/color.h"

namespace {

using cg::ColorComponents;
using objc::msg;

class ColorCategory : public testing::Test {
 protected:
  static void SetUpTestSuite() { toolkit::register_color_category(); }

  static Class color_class() { return objc_getClass("UIColor"); }
  static id from_hex(const char* text) {
    return msg<id>(color_class(), "km_UIColorFromHex:", ns::string(text));
  }
  static std::string hex_of(id color) {
    return ns::utf8(msg<id>(color_class(), "km_hexStringFromColor:", color));
  }
  static id pattern() {
    const double alpha[] = {1.0};
    return ui::make_color(ColorComponents::other(alpha));
  }

  ns::AutoreleasePool pool_;
};

TEST_F(ColorCategory, HexTextAndColourTextRoundTrip) {
  id color = from_hex("#51b8ff");
  ASSERT_TRUE(ui::is_color(color));
  EXPECT_EQ(ui::color_value(color), ColorComponents::rgb(81 / 255.0, 184 / 255.0, 1.0, 1.0));
  EXPECT_EQ(hex_of(color), "#51B8FF");
  EXPECT_EQ(hex_of(msg<id>(color_class(), "whiteColor")), "#FFFF00");
  // A nil text reads as an empty one; a nil colour has no text.
  EXPECT_EQ(ui::color_value(msg<id>(color_class(), "km_UIColorFromHex:", nil)),
            ColorComponents::rgb(0, 0, 0, 1));
  EXPECT_EQ(msg<id>(color_class(), "km_hexStringFromColor:", nil), nil);
}

TEST_F(ColorCategory, ArgumentsOfTheWrongKindRaiseInvalidArgument) {
  const struct {
    const char* selector;
    id argument;
  } cases[] = {
      {"km_UIColorFromHex:", from_hex("#FFFFFF")},
      {"km_hexStringFromColor:", ns::string("#FFFFFF")},
  };
  for (const auto& c : cases) {
    try {
      msg<id>(color_class(), c.selector, c.argument);
      ADD_FAILURE() << c.selector << " must raise";
    } catch (const objc::Exception& e) {
      EXPECT_EQ(ns::exception_name(e.object()), "NSInvalidArgumentException");
    }
  }
}

TEST_F(ColorCategory, InstanceMethodsAnswerTheToolkitsResults) {
  id text_color = from_hex("#cccccc");
  EXPECT_EQ(msg<BOOL>(text_color, "isLightColor"), YES);
  EXPECT_EQ(msg<BOOL>(from_hex("#B2B2B2"), "isLightColor"), NO);
  EXPECT_EQ(hex_of(msg<id>(text_color, "offsetColor")), "#666666");
  EXPECT_EQ(hex_of(msg<id>(from_hex("#1B1B1B"), "lighterColor")), "#232323");
  EXPECT_EQ(hex_of(msg<id>(from_hex("#1B1B1B"), "darkerColor")), "#141414");
  // The grey-model black has text "#00FF00", so it stays black, now in RGB.
  id black = msg<id>(msg<id>(color_class(), "blackColor"), "lighterColor");
  EXPECT_EQ(ui::color_value(black), ColorComponents::rgb(0, 0, 0, 1));
  id clear = msg<id>(msg<id>(color_class(), "clearColor"), "offsetColor");
  EXPECT_EQ(ui::color_value(clear), ColorComponents::rgb(0.5, 0.5, 0.5, 0.5));
}

TEST_F(ColorCategory, PatternColours) {
  // A pattern colour is its own offset colour and has no lighter or darker one.
  id color = pattern();
  EXPECT_EQ(msg<BOOL>(color, "isLightColor"), NO);
  EXPECT_EQ(msg<id>(color, "offsetColor"), color);
  EXPECT_EQ(msg<id>(color, "lighterColor"), nil);
  EXPECT_EQ(msg<id>(color, "darkerColor"), nil);
}

}  // namespace
