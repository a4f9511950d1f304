// The UIColor(Kestrow) category on the runtime class: each method reaches
// the toolkit's operation with the colour's value and answers platform
// objects (nil where the operation has no result).
#include "toolkit/color/ui_color_kestrow.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/foundation/ns_exception.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"
#include "platform/uikit/ui_color.h"
#include "toolkit/color/color.h"
#include "toolkit/color/platform_color.h"

namespace {

using cg::ColorComponents;
using objc::msg;
using toolkit::Color;

Color bytes(int r, int g, int b) { return Color::rgb(r / 255.0, g / 255.0, b / 255.0, 1.0); }

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

TEST_F(ColorCategory, HexTextAndColorTextRoundTrip) {
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

TEST_F(ColorCategory, HexTextNamesTheColorOfItsLastSixDigits) {
  const struct {
    const char* text;
    Color color;
  } cases[] = {
      {"#1B1B1B", bytes(27, 27, 27)},
      {"#51B8FF", bytes(81, 184, 255)},
      {"#cccccc", bytes(204, 204, 204)},
      {"#CCCCCC", bytes(204, 204, 204)},
      // No digit after the first character gives opaque black.
      {"#", bytes(0, 0, 0)},
      {"#zz", bytes(0, 0, 0)},
      {"", bytes(0, 0, 0)},
      // Eight digits keep the last six; more than eight saturate to white.
      {"#11223344", bytes(0x22, 0x33, 0x44)},
      {"#123456789", bytes(255, 255, 255)},
      {"#FFF", bytes(0, 15, 255)},
      // The first character is skipped whatever it is; then blanks and 0x.
      {"# \n 0x1B1B1B", bytes(27, 27, 27)},
      {"X1B1B1B", bytes(27, 27, 27)},
      {"\xC3\xA9"
       "1B1B1B",
       bytes(27, 27, 27)},
      // A character outside the basic plane is two units; only the first is skipped.
      {"\xF0\x9F\x98\x80"
       "1B1B1B",
       bytes(0, 0, 0)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(toolkit::color_of(from_hex(c.text)), c.color) << c.text;
  }
}

TEST_F(ColorCategory, HexTextInEitherCaseReadsTheSameAndRoundTrips) {
  char lower[8];
  char upper[8];
  for (int value = 0; value < 0x1000000; value += 0x010101 * 7 + 0x0B) {
    std::snprintf(lower, sizeof lower, "#%06x", value);
    std::snprintf(upper, sizeof upper, "#%06X", value);
    id color = from_hex(lower);
    EXPECT_EQ(toolkit::color_of(color), toolkit::color_of(from_hex(upper)));
    // The colour text always comes back in upper case.
    EXPECT_EQ(hex_of(color), upper);
  }
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

TEST_F(ColorCategory, PatternColors) {
  // A pattern colour is its own offset colour and has no lighter or darker one.
  id color = pattern();
  EXPECT_EQ(msg<BOOL>(color, "isLightColor"), NO);
  EXPECT_EQ(msg<id>(color, "offsetColor"), color);
  EXPECT_EQ(msg<id>(color, "lighterColor"), nil);
  EXPECT_EQ(msg<id>(color, "darkerColor"), nil);
}

}  // namespace
