// Colour values, colour texts, the light test and the derived colours.
#include "toolkit/color/color.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

using toolkit::Color;
using toolkit::color_text;
using toolkit::ColorModel;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

Color rgb(double r, double g, double b, double a = 1.0) { return Color::rgb(r, g, b, a); }
Color bytes(int r, int g, int b) { return rgb(r / 255.0, g / 255.0, b / 255.0); }
Color pattern() {
  const double alpha[] = {1.0};
  return Color::other(alpha);
}
std::string text_of(const Color& color) { return std::string(color_text(color).view()); }

// The color a hex text of this value names.
Color hex(std::uint32_t value) { return toolkit::color_from_hex_value(value); }

double brightness(const Color& color) {
  const auto hsba = toolkit::hsb_view(color);
  EXPECT_TRUE(hsba);
  return hsba ? hsba->brightness : 0.0;
}

TEST(ColorText, FieldsFromTheFirstThreeStoredComponents) {
  const struct {
    Color color;
    const char* text;
  } cases[] = {
      {rgb(1, 1, 1), "#FFFFFF"},
      {rgb(0.5, 0.5, 0.5), "#808080"},  // 127.5 rounds away from zero
      {rgb(27 / 255.0, 0.0, 1.0, 0.25), "#1B00FF"},
      // Extended range: above 1.0 gives three digits, negative a 64-bit two's complement.
      {rgb(1.2, 0, 0), "#1320000"},
      {rgb(-0.1, 0, 0), "#FFFFFFFFFFFFFFE60000"},
      {rgb(0, -1.0, 16.0), "#00FFFFFFFFFFFFFF01FF0"},
      // A grey reads as white, alpha, "00".
      {Color::grey(1.0, 1.0), "#FFFF00"},
      {Color::grey(0.933, 1.0), "#EEFF00"},
      {Color::grey(0.95, 0.9), "#F2E600"},
      {Color::grey(0.9, 0.95), "#E6F200"},
      {Color::grey(0.0, 1.0), "#00FF00"},
      // A pattern colour has its alpha only.
      {pattern(), "#FF0000"},
  };
  for (const auto& c : cases) EXPECT_EQ(text_of(c.color), c.text) << c.text;
}

TEST(ColorText, RoundsAfterNarrowingToFloat) {
  // 0.501960784 × 255 is 127.99999... in double but 128.0 once narrowed.
  EXPECT_EQ(toolkit::color_text_field(128 / 255.0), 128);
  // Just below a half in double, exactly a half in float: rounds up.
  EXPECT_EQ(toolkit::color_text_field(std::nextafter(127.5, 0.0) / 255.0), 128);
  EXPECT_EQ(toolkit::color_text_field(-0.5 / 255.0), -1);
}

TEST(ColorText, FieldsBeyondTheIntegerRangeSaturate) {
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
  const struct {
    double component;
    std::int64_t field;
  } cases[] = {
      {kNaN, 0},
      {kInfinity, kMax},
      {-kInfinity, kMin},
      {1e300, kMax},
      {-1e300, kMin},
      {0x1p63 / 255.0, kMax},
      {-0x1p63 / 255.0, kMin},
      {0x1p62 / 255.0, std::int64_t{1} << 62},
  };
  for (const auto& c : cases) EXPECT_EQ(toolkit::color_text_field(c.component), c.field);
  EXPECT_EQ(text_of(rgb(kNaN, kInfinity, -kInfinity)), "#007FFFFFFFFFFFFFFF8000000000000000");
  EXPECT_EQ(color_text(rgb(-1, -1, -1)).size(), toolkit::ColorText::kCapacity);
}

TEST(ColorText, AbsentColorHasNoText) {
  EXPECT_FALSE(color_text(static_cast<const Color*>(nullptr)).has_value());
  const Color white = rgb(1, 1, 1);
  EXPECT_EQ(color_text(&white), color_text(white));
  EXPECT_STREQ(color_text(white).c_str(), "#FFFFFF");
}

TEST(LightColor, LuminanceAtOrAboveTheFloatNearestSevenTenths) {
  const struct {
    Color color;
    bool light;
  } cases[] = {
      {bytes(0xB3, 0xB3, 0xB3), true},
      {bytes(0xB2, 0xB2, 0xB2), false},
      {bytes(0x76, 0x76, 0x76), false},
      {bytes(0x51, 0xB8, 0xFF), false},
      // The threshold is 0.699999988..., so 0.7 itself is light, in either model.
      {rgb(0.7, 0.7, 0.7, 0.0), true},
      {Color::grey(0.7, 0.1), true},
      {Color::grey(toolkit::kLightLuminance, 1.0), true},
      {Color::grey(std::nextafter(toolkit::kLightLuminance, 0.0), 1.0), false},
      // Weights are 0.299, 0.587, 0.114: pure green is not light, green and red are.
      {rgb(0, 1, 0), false},
      {rgb(1, 1, 0), true},
      {pattern(), false},
      {rgb(kNaN, 1, 1), false},
      {Color::grey(kNaN, 1), false},
  };
  EXPECT_EQ(toolkit::kLightLuminance, 0.699999988079071);
  for (const auto& c : cases) {
    EXPECT_EQ(toolkit::is_light(c.color), c.light) << text_of(c.color);
  }
}

TEST(OffsetColor, MovesHalfwayToBlackOrWhiteAlphaIncluded) {
  const struct {
    Color color;
    Color offset;
  } cases[] = {
      {hex(0xcccccc), rgb(0.4, 0.4, 0.4, 1.0)},
      {bytes(0, 0, 0), rgb(0.5, 0.5, 0.5, 1.0)},
      {rgb(0.2, 0.4, 0.0, 0.0), rgb(0.6, 0.7, 0.5, 0.5)},
      {Color::grey(0.9, 0.5), rgb(0.45, 0.45, 0.45, 0.75)},
      {Color::grey(0.0, 0.0), rgb(0.5, 0.5, 0.5, 0.5)},
  };
  for (const auto& c : cases) {
    const Color offset = toolkit::offset_color(c.color);
    EXPECT_EQ(offset.model(), ColorModel::kRgb);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(offset.at(i), c.offset.at(i));
  }
  EXPECT_EQ(text_of(toolkit::offset_color(hex(0xcccccc))), "#666666");
  EXPECT_EQ(text_of(toolkit::offset_color(bytes(0, 0, 0))), "#808080");
}

TEST(OffsetColor, ColorsWithoutTwoComponentsOrAnRgbViewStayThemselves) {
  EXPECT_EQ(toolkit::offset_color(pattern()), pattern());
  const double components[] = {0.1, 0.2, 0.3, 0.4, 1.0};
  const Color five = Color::other(components);
  EXPECT_EQ(toolkit::offset_color(five), five);
  EXPECT_FALSE(toolkit::halfway(five, rgb(0, 0, 0)).has_value());
}

TEST(LighterColor, ScalesBrightnessByThirteenTenthsCappedAtOne) {
  const struct {
    Color color;
    const char* text;
  } cases[] = {
      {hex(0x1B1B1B), "#232323"},
      {hex(0xcccccc), "#FFFFFF"},
      {hex(0xFFFFFF), "#FFFFFF"},
      // A colour whose text is "#000000" becomes brightness 0.078.
      {bytes(0, 0, 0), "#141414"},
      {rgb(0.001, 0, 0), "#140000"},
      // The grey-model black has text "#00FF00": 0 × 1.3 stays black.
      {Color::grey(0.0, 1.0), "#000000"},
  };
  for (const auto& c : cases) {
    const auto lighter = toolkit::lighter_color(c.color);
    ASSERT_TRUE(lighter.has_value());
    EXPECT_EQ(lighter->model(), ColorModel::kRgb);
    EXPECT_EQ(text_of(*lighter), c.text) << text_of(c.color);
  }
}

TEST(LighterColor, KeepsHueSaturationAndAlpha) {
  const auto black = toolkit::lighter_color(rgb(0, 0, 0, 0.5));
  ASSERT_TRUE(black.has_value());
  EXPECT_EQ(*black, rgb(0.078, 0.078, 0.078, 0.5));

  const auto red = toolkit::lighter_color(rgb(0.001, 0, 0));
  ASSERT_TRUE(red.has_value());
  EXPECT_EQ(*red, rgb(0.078, 0, 0, 1.0));

  // Below the cap every component scales by 1.3.
  const auto tinted = toolkit::lighter_color(rgb(0.2, 0.4, 0.6, 0.3));
  ASSERT_TRUE(tinted.has_value());
  EXPECT_NEAR(tinted->at(0), 0.26, 1e-12);
  EXPECT_NEAR(tinted->at(1), 0.52, 1e-12);
  EXPECT_NEAR(tinted->at(2), 0.78, 1e-12);
  EXPECT_EQ(tinted->alpha(), 0.3);
}

TEST(DarkerColor, ScalesBrightnessByThreeQuartersWithoutBound) {
  const struct {
    Color color;
    const char* text;
  } cases[] = {
      {hex(0xFFFFFF), "#BFBFBF"},
      {hex(0x1B1B1B), "#141414"},
      {Color::grey(1.0, 0.2), "#BFBFBF"},
  };
  for (const auto& c : cases) {
    const auto darker = toolkit::darker_color(c.color);
    ASSERT_TRUE(darker.has_value());
    EXPECT_EQ(text_of(*darker), c.text) << text_of(c.color);
  }

  Color color = rgb(0.9, 0.3, 0.6, 0.4);
  for (int step = 0; step < 3; ++step) color = toolkit::darker_color(color).value();
  EXPECT_NEAR(brightness(color), 0.9 * 0.421875, 1e-12);
  EXPECT_NEAR(color.at(1), 0.3 * 0.421875, 1e-12);
  EXPECT_EQ(color.alpha(), 0.4);
}

TEST(DerivedColors, AbsentWithoutAnHsbView) {
  EXPECT_FALSE(toolkit::lighter_color(pattern()).has_value());
  EXPECT_FALSE(toolkit::darker_color(pattern()).has_value());
  EXPECT_FALSE(toolkit::lighter_hsb(pattern()).has_value());
  EXPECT_FALSE(toolkit::darker_hsb(pattern()).has_value());
}

TEST(DerivedColors, ValuesThatAreNotNumbersPassThroughSafely) {
  // Such colours are never light and every operation takes them without
  // undefined behaviour; a hue that is not a number counts as 0 (red).
  for (const Color& color :
       {rgb(kNaN, 0, 0), rgb(kInfinity, 0, -kInfinity), rgb(kNaN, kNaN, kNaN, kNaN)}) {
    EXPECT_FALSE(toolkit::is_light(color));
    (void)toolkit::offset_color(color);
    ASSERT_TRUE(toolkit::lighter_color(color).has_value());
    ASSERT_TRUE(toolkit::darker_color(color).has_value());
  }
  EXPECT_EQ(toolkit::from_hsb({kNaN, 1.0, 0.5, 1.0}), rgb(0.5, 0, 0));
  EXPECT_EQ(toolkit::from_hsb({kInfinity, 1.0, 0.5, 1.0}), rgb(0.5, 0, 0));
}

TEST(DerivedColors, HsbViewAndConversionRoundTrip) {
  // lighter and darker rebuild the colour from its HSB view: the view and
  // its inverse must give back the RGB components, in every hue sector.
  for (int r = 0; r <= 255; r += 51) {
    for (int g = 0; g <= 255; g += 17) {
      for (int b = 0; b <= 255; b += 85) {
        const Color color = rgb(r / 255.0, g / 255.0, b / 255.0, 0.5);
        const auto hsba = toolkit::hsb_view(color);
        ASSERT_TRUE(hsba);
        EXPECT_GE(hsba->hue, 0.0);
        EXPECT_LT(hsba->hue, 1.0);
        const Color back = toolkit::from_hsb(*hsba);
        for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(back.at(i), color.at(i), 1e-12);
        EXPECT_EQ(text_of(back), text_of(color));
      }
    }
  }
}

}  // namespace
