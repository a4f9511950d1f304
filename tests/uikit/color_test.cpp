// UIColor: each constructor's colour model and components, the three views,
// equality, and the class method that a hook on the metaclass must catch.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "platform/coregraphics/cg_color.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"
#include "platform/uikit/ui_color.h"

namespace {

using cg::ColorComponents;
using cg::ColorModel;
using objc::msg;

Class ui_color() { return objc_getClass("UIColor"); }

id rgba(double r, double g, double b, double a) {
  return msg<id>(ui_color(), "colorWithRed:green:blue:alpha:", r, g, b, a);
}
id grey(double w, double a) { return msg<id>(ui_color(), "colorWithWhite:alpha:", w, a); }
id hsba(double h, double s, double b, double a) {
  return msg<id>(ui_color(), "colorWithHue:saturation:brightness:alpha:", h, s, b, a);
}
id pattern() { return msg<id>(ui_color(), "colorWithPatternImage:", ns::string("tile")); }
id owned(id color) { return ns::autorelease(color); }

struct Factory {
  const char* name;
  std::function<id()> make;
  ColorComponents expected;
};

TEST(ColorFactories, EachMakesItsModelAndComponents) {
  ns::AutoreleasePool pool;
  const Factory factories[] = {
      {"whiteColor", [] { return msg<id>(ui_color(), "whiteColor"); }, ColorComponents::grey(1, 1)},
      {"blackColor", [] { return msg<id>(ui_color(), "blackColor"); }, ColorComponents::grey(0, 1)},
      {"clearColor", [] { return msg<id>(ui_color(), "clearColor"); }, ColorComponents::grey(0, 0)},
      {"redColor", [] { return msg<id>(ui_color(), "redColor"); },
       ColorComponents::rgb(1, 0, 0, 1)},
      {"colorWithRed", [] { return rgba(0.25, 0.5, 0.75, 0.5); },
       ColorComponents::rgb(0.25, 0.5, 0.75, 0.5)},
      // Extended-range components are kept as given, never clamped.
      {"colorWithRed extended", [] { return rgba(1.2, -0.1, 0, 2); },
       ColorComponents::rgb(1.2, -0.1, 0, 2)},
      {"colorWithWhite", [] { return grey(0.9, 0.95); }, ColorComponents::grey(0.9, 0.95)},
      // HSB input becomes an RGB colour on creation.
      {"colorWithHue", [] { return hsba(0.0, 1.0, 1.0, 1.0); }, ColorComponents::rgb(1, 0, 0, 1)},
      {"colorWithHue grey", [] { return hsba(0.3, 0.0, 0.5, 0.25); },
       ColorComponents::rgb(0.5, 0.5, 0.5, 0.25)},
      {"initWithRed",
       [] {
         return owned(msg<id>(msg<id>(ui_color(), "alloc"), "initWithRed:green:blue:alpha:", 0.1,
                              0.2, 0.3, 0.4));
       },
       ColorComponents::rgb(0.1, 0.2, 0.3, 0.4)},
      {"initWithWhite",
       [] {
         return owned(msg<id>(msg<id>(ui_color(), "alloc"), "initWithWhite:alpha:", 0.5, 1.0));
       },
       ColorComponents::grey(0.5, 1)},
  };
  for (const auto& factory : factories) {
    SCOPED_TRACE(factory.name);
    id color = factory.make();
    ASSERT_TRUE(ui::is_color(color));
    EXPECT_EQ(ui::color_value(color), factory.expected);
    // The CGColor carries the same components, alpha last.
    CGColorRef cg_color = msg<CGColorRef>(color, "CGColor");
    ASSERT_EQ(CGColorGetNumberOfComponents(cg_color), factory.expected.count());
    for (std::size_t i = 0; i < factory.expected.count(); ++i) {
      EXPECT_EQ(CGColorGetComponents(cg_color)[i], factory.expected.at(i));
    }
    EXPECT_EQ(CGColorGetAlpha(cg_color), factory.expected.alpha());
  }
}

TEST(ColorFactories, PatternColorIsOtherWithItsAlphaOnly) {
  ns::AutoreleasePool pool;
  id color = pattern();
  const auto& value = ui::color_value(color);
  EXPECT_EQ(value.model(), ColorModel::kOther);
  ASSERT_EQ(value.count(), 1u);
  EXPECT_EQ(value.alpha(), 1.0);
  // Other colours have none of the three views, and leave the outputs alone.
  double a = -1, b = -1, c = -1, d = -1;
  EXPECT_FALSE(msg<BOOL>(color, "getRed:green:blue:alpha:", &a, &b, &c, &d));
  EXPECT_FALSE(msg<BOOL>(color, "getHue:saturation:brightness:alpha:", &a, &b, &c, &d));
  EXPECT_FALSE(msg<BOOL>(color, "getWhite:alpha:", &a, &b));
  EXPECT_EQ(a, -1);
  // A lighter alpha keeps the pattern.
  id faded = msg<id>(color, "colorWithAlphaComponent:", 0.5);
  EXPECT_EQ(ui::color_value(faded).alpha(), 0.5);
  EXPECT_EQ(ns::utf8(msg<id>(faded, "description")), "UIPatternColorSpace 0.5");
}

TEST(ColorFactories, NamedColorsAreSharedForTheProcess) {
  id white = nil;
  {
    ns::AutoreleasePool pool;
    white = msg<id>(ui_color(), "whiteColor");
  }
  ns::AutoreleasePool pool;
  EXPECT_EQ(msg<id>(ui_color(), "whiteColor"), white);
  EXPECT_EQ(ui::color_value(white), ColorComponents::grey(1, 1));
}

TEST(ColorFactories, CGColorRoundTripsAndNullMakesNoColor) {
  ns::AutoreleasePool pool;
  id source = rgba(0.2, 0.4, 0.6, 0.8);
  id copy = msg<id>(ui_color(), "colorWithCGColor:", msg<CGColorRef>(source, "CGColor"));
  EXPECT_NE(copy, source);
  EXPECT_TRUE(msg<BOOL>(copy, "isEqual:", source));
  EXPECT_EQ(msg<id>(ui_color(), "colorWithCGColor:", static_cast<CGColorRef>(nullptr)), nil);
  // The C functions take a null colour without harm.
  EXPECT_EQ(CGColorGetNumberOfComponents(nullptr), 0u);
  EXPECT_EQ(CGColorGetComponents(nullptr), nullptr);
  EXPECT_EQ(CGColorGetAlpha(nullptr), 0.0);
}

TEST(ColorViews, GreyHasAllThreeViews) {
  ns::AutoreleasePool pool;
  id color = grey(0.25, 0.5);
  double r, g, b, a;
  // The RGB view repeats the white level.
  ASSERT_TRUE(msg<BOOL>(color, "getRed:green:blue:alpha:", &r, &g, &b, &a));
  EXPECT_EQ(std::vector<double>({r, g, b, a}), std::vector<double>({0.25, 0.25, 0.25, 0.5}));
  // The HSB view has no hue and no saturation; brightness is the white level.
  ASSERT_TRUE(msg<BOOL>(color, "getHue:saturation:brightness:alpha:", &r, &g, &b, &a));
  EXPECT_EQ(std::vector<double>({r, g, b, a}), std::vector<double>({0, 0, 0.25, 0.5}));
  ASSERT_TRUE(msg<BOOL>(color, "getWhite:alpha:", &r, &a));
  EXPECT_EQ(r, 0.25);
  EXPECT_EQ(a, 0.5);
}

TEST(ColorViews, RgbHasNoWhiteViewAndOutputsMayBeNull) {
  ns::AutoreleasePool pool;
  id color = rgba(0.1, 0.2, 0.3, 0.4);
  double w = -1, a = -1;
  EXPECT_FALSE(msg<BOOL>(color, "getWhite:alpha:", &w, &a));
  EXPECT_EQ(w, -1);
  // Only the outputs asked for are written.
  double green = 0;
  double* none = nullptr;
  EXPECT_TRUE(msg<BOOL>(color, "getRed:green:blue:alpha:", none, &green, none, none));
  EXPECT_EQ(green, 0.2);
  EXPECT_TRUE(msg<BOOL>(color, "getHue:saturation:brightness:alpha:", none, none, none, none));
}

struct HueCase {
  double r, g, b, hue;
};

TEST(ColorViews, HexconeHueInEverySector) {
  ns::AutoreleasePool pool;
  const HueCase cases[] = {
      {1, 0, 0, 0.0},     {1, 0.5, 0, 1.0 / 12}, {1, 1, 0, 1.0 / 6}, {0.5, 1, 0, 3.0 / 12},
      {0, 1, 0, 2.0 / 6}, {0, 1, 0.5, 5.0 / 12}, {0, 1, 1, 3.0 / 6}, {0, 0.5, 1, 7.0 / 12},
      {0, 0, 1, 4.0 / 6}, {0.5, 0, 1, 9.0 / 12}, {1, 0, 1, 5.0 / 6}, {1, 0, 0.5, 11.0 / 12},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "rgb " << c.r << " " << c.g << " " << c.b);
    double h, s, v, a;
    ASSERT_TRUE(
        msg<BOOL>(rgba(c.r, c.g, c.b, 1), "getHue:saturation:brightness:alpha:", &h, &s, &v, &a));
    EXPECT_NEAR(h, c.hue, 1e-12);
    EXPECT_EQ(s, 1.0);
    EXPECT_EQ(v, 1.0);
  }
  // Saturation is the spread over the largest component; black has none.
  double h, s, v, a;
  ASSERT_TRUE(
      msg<BOOL>(rgba(0.8, 0.4, 0.2, 0.3), "getHue:saturation:brightness:alpha:", &h, &s, &v, &a));
  EXPECT_NEAR(s, 0.75, 1e-12);
  EXPECT_EQ(v, 0.8);
  EXPECT_EQ(a, 0.3);
  ASSERT_TRUE(msg<BOOL>(rgba(0, 0, 0, 1), "getHue:saturation:brightness:alpha:", &h, &s, &v, &a));
  EXPECT_EQ(std::vector<double>({h, s, v}), std::vector<double>({0, 0, 0}));
}

TEST(ColorViews, HsbRoundTrips) {
  ns::AutoreleasePool pool;
  for (int sector = 0; sector < 6; ++sector) {
    for (double saturation : {0.25, 1.0}) {
      for (double brightness : {0.5, 1.0}) {
        const double hue = (sector + 0.3) / 6.0;
        SCOPED_TRACE(testing::Message()
                     << "hue " << hue << " s " << saturation << " b " << brightness);
        id color = hsba(hue, saturation, brightness, 0.75);
        EXPECT_EQ(ui::color_value(color).model(), ColorModel::kRgb);
        double h, s, v, a;
        ASSERT_TRUE(msg<BOOL>(color, "getHue:saturation:brightness:alpha:", &h, &s, &v, &a));
        EXPECT_NEAR(h, hue, 1e-12);
        EXPECT_NEAR(s, saturation, 1e-12);
        EXPECT_NEAR(v, brightness, 1e-12);
        EXPECT_EQ(a, 0.75);
      }
    }
  }
  // A full turn is red again.
  EXPECT_EQ(ui::color_value(hsba(1.0, 1, 1, 1)), ColorComponents::rgb(1, 0, 0, 1));
}

TEST(ColorIdentity, EqualityNeedsTheSameModelAndComponents) {
  ns::AutoreleasePool pool;
  id white_grey = grey(1, 1);
  EXPECT_TRUE(msg<BOOL>(white_grey, "isEqual:", msg<id>(ui_color(), "whiteColor")));
  EXPECT_EQ(msg<unsigned long>(white_grey, "hash"),
            msg<unsigned long>(msg<id>(ui_color(), "whiteColor"), "hash"));
  // The same look in another model is another colour.
  EXPECT_FALSE(msg<BOOL>(white_grey, "isEqual:", rgba(1, 1, 1, 1)));
  EXPECT_FALSE(msg<BOOL>(white_grey, "isEqual:", grey(1, 0.5)));
  EXPECT_FALSE(msg<BOOL>(white_grey, "isEqual:", ns::string("white")));
  EXPECT_FALSE(msg<BOOL>(white_grey, "isEqual:", nil));
  // Zero and minus zero are one component value.
  id zero = rgba(0, 0.5, 0, 1);
  id minus_zero = rgba(-0.0, 0.5, 0, 1);
  EXPECT_TRUE(msg<BOOL>(zero, "isEqual:", minus_zero));
  EXPECT_EQ(msg<unsigned long>(zero, "hash"), msg<unsigned long>(minus_zero, "hash"));
}

TEST(ColorIdentity, AlphaComponentKeepsTheModel) {
  ns::AutoreleasePool pool;
  EXPECT_EQ(ui::color_value(msg<id>(grey(0.5, 1), "colorWithAlphaComponent:", 0.25)),
            ColorComponents::grey(0.5, 0.25));
  EXPECT_EQ(ui::color_value(msg<id>(rgba(1, 0, 0, 1), "colorWithAlphaComponent:", 0.0)),
            ColorComponents::rgb(1, 0, 0, 0));
}

TEST(ColorIdentity, DescriptionIsTheDevicesText) {
  ns::AutoreleasePool pool;
  EXPECT_EQ(ns::utf8(msg<id>(msg<id>(ui_color(), "redColor"), "description")),
            "UIExtendedSRGBColorSpace 1 0 0 1");
  EXPECT_EQ(ns::utf8(msg<id>(msg<id>(ui_color(), "whiteColor"), "description")),
            "UIExtendedGrayColorSpace 1 1");
  EXPECT_EQ(ns::utf8(msg<id>(grey(0.5, 0.25), "description")), "UIExtendedGrayColorSpace 0.5 0.25");
}

// A replacement of +colorWithWhite:alpha: installed on the metaclass, as the
// hook registry installs one, restored when the test ends.
IMP saved_color_with_white = nullptr;
int replaced_calls = 0;
id counting_color_with_white(id self, SEL cmd, double white, double alpha) {
  ++replaced_calls;
  return objc::from_imp<id(id, SEL, double, double)>(saved_color_with_white)(self, cmd, white,
                                                                             alpha);
}

TEST(ColorClassMethods, ColorWithWhiteIsReachedThroughTheMetaclass) {
  ns::AutoreleasePool pool;
  Class metaclass = object_getClass(reinterpret_cast<id>(ui_color()));
  SEL selector = objc::sel("colorWithWhite:alpha:");
  // It is the metaclass's own method, not something answered another way.
  Method method = class_getInstanceMethod(metaclass, selector);
  ASSERT_NE(method, nullptr);
  EXPECT_EQ(class_getInstanceMethod(ui_color(), selector), nullptr);
  replaced_calls = 0;
  saved_color_with_white =
      method_setImplementation(method, objc::to_imp(counting_color_with_white));
  id made = grey(0.5, 1);
  id named = msg<id>(ui_color(), "blackColor");
  method_setImplementation(method, saved_color_with_white);
  // Sends of the class method run the replacement, which calls through.
  EXPECT_EQ(replaced_calls, 1);
  EXPECT_EQ(ui::color_value(made), ColorComponents::grey(0.5, 1));
  // The named colours are made without it.
  EXPECT_EQ(ui::color_value(named), ColorComponents::grey(0, 1));
}

}  // namespace
