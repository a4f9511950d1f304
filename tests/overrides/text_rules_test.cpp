// The text rules: the pure decisions (grey levels, recolouring, excluded
// labels) as tables, then the rules wired into the runtime, chains included:
// a grey made anywhere passes the grey rule, and the recolouring of
// attributed text sets its colour through the attribute rule.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/palette.h"
#include "core/settings.h"
#include "overrides/host/label_choice.h"
#include "overrides/system/grey_choice.h"
#include "platform/corefoundation/run_loop.h"
#include "platform/coregraphics/cg_color.h"
#include "platform/coregraphics/geometry.h"
#include "platform/foundation/foundation.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/uikit/text_attributes.h"
#include "toolkit/color/platform_color.h"
#include "toolkit/text/recolor_choice.h"
#include "tools/support/themed_process.h"

namespace tenebra {
namespace {

using namespace std::chrono_literals;
using objc::msg;
using objc::Ref;

// ---- Decisions ------------------------------------------------------------

TEST(GreyChoice, TwoDarkGreysBecomeLightGreyByTruncatedThousandths) {
  struct Row {
    double white, alpha;
    bool replaced;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const Row& row : {Row{0.128, 1.0, true}, Row{0.129, 1.0, true}, Row{0.1299, 1.0, true},
                         Row{0.13, 1.0, false}, Row{0.129, 0.999, false}, Row{0.0, 0.54, true},
                         Row{0.0009, 0.5409, true}, Row{-0.0009, 0.54, true}, Row{0.0, 0.55, false},
                         Row{0.0, 1.0, false}, Row{40 / 255.0, 0.7, false}, Row{nan, 0.54, true},
                         Row{1e300, 1.0, false}, Row{-1e300, 0.54, false}}) {
    EXPECT_EQ(replaced_white(row.white, row.alpha).has_value(), row.replaced)
        << row.white << " " << row.alpha;
  }
  EXPECT_EQ(thousandths(1e300), std::numeric_limits<std::int32_t>::max());
}

TEST(RecolorChoice, OnlyTheFirstColorTextDecides) {
  const auto text = [](const char* hex) {
    return toolkit::color_text(toolkit::color_from_hex_value(std::stoul(hex + 1, nullptr, 16)));
  };
  const toolkit::ColorText wanted = text("#CCCCCC");
  EXPECT_EQ(toolkit::choose_recolor(std::nullopt, wanted), toolkit::Recolor::kKeep);
  EXPECT_EQ(toolkit::choose_recolor(text("#CCCCCC"), wanted), toolkit::Recolor::kKeep);
  EXPECT_EQ(toolkit::choose_recolor(text("#767676"), wanted), toolkit::Recolor::kLightBlue);
  EXPECT_EQ(toolkit::choose_recolor(text("#000000"), wanted), toolkit::Recolor::kWanted);
  // A grey of white 0x76 reads "#76FF00", not the mid-grey.
  EXPECT_EQ(
      toolkit::choose_recolor(toolkit::color_text(toolkit::Color::grey(0x76 / 255.0, 1.0)), wanted),
      toolkit::Recolor::kWanted);
}

TEST(LabelChoice, OwnClassNamePrefixesExclude) {
  EXPECT_TRUE(is_excluded_label("_UIStatusBarStringView"));
  EXPECT_TRUE(is_excluded_label("SparkBatteryViewLabel"));
  EXPECT_FALSE(is_excluded_label("UILabel"));
  EXPECT_FALSE(is_excluded_label("Spark"));
  EXPECT_FALSE(is_excluded_label(nullptr));
}

// ---- Rules in the runtime -------------------------------------------------

std::string text_of(id color) {
  const auto value = toolkit::color_of(color);
  return value ? std::string(toolkit::color_text(*value).view()) : "nil";
}
id grey(double white, double alpha) {
  return msg<id>(objc_getClass("UIColor"), "colorWithWhite:alpha:", white, alpha);
}
id rgb(double r, double g, double b) {
  return msg<id>(objc_getClass("UIColor"), "colorWithRed:green:blue:alpha:", r, g, b, 1.0);
}
Ref make(const char* class_name) { return Ref::adopt(msg<id>(objc_getClass(class_name), "new")); }
id attributed(const char* text, id attributes) {
  return ns::autorelease(msg<id>(msg<id>(objc_getClass("NSMutableAttributedString"), "alloc"),
                                 "initWithString:attributes:", ns::string(text), attributes));
}
id foreground_at(id string, unsigned long index) {
  return msg<id>(string, "attribute:atIndex:effectiveRange:", NSForegroundColorAttributeName, index,
                 static_cast<NSRange*>(nullptr));
}

class TextRules : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::bring_up_theme(); }
  void TearDown() override { settings = default_settings(); }
  ns::AutoreleasePool pool_;
};

TEST_F(TextRules, GreysMadeAnywherePassTheGreyRule) {
  EXPECT_EQ(text_of(grey(0.129, 1.0)), "#CCFF00");
  EXPECT_EQ(text_of(grey(0.0, 0.54)), "#CC8A00");
  EXPECT_EQ(text_of(grey(0.13, 1.0)), "#21FF00");
  // The instance initialiser is not hooked.
  Ref direct = Ref::adopt(
      msg<id>(msg<id>(objc_getClass("UIColor"), "alloc"), "initWithWhite:alpha:", 0.129, 1.0));
  EXPECT_EQ(text_of(direct.get()), "#21FF00");
  settings.enabled = 0;
  EXPECT_EQ(text_of(grey(0.129, 1.0)), "#21FF00");
}

TEST_F(TextRules, AttributeSetsCarryTheTextColor) {
  id string = attributed("abcdef", nil);
  // A grey foreground added over part of the text reads back as textColor.
  msg<void>(string, "addAttribute:value:range:", NSForegroundColorAttributeName, grey(0.2, 1.0),
            NSMakeRange(1, 2));
  EXPECT_EQ(foreground_at(string, 1), textColor);
  EXPECT_EQ(foreground_at(string, 0), nil);
  // Other names pass unchanged.
  id red = rgb(1, 0, 0);
  msg<void>(string, "addAttribute:value:range:", NSBackgroundColorAttributeName, red,
            NSMakeRange(0, 1));
  EXPECT_EQ(msg<id>(string, "attribute:atIndex:effectiveRange:", NSBackgroundColorAttributeName,
                    0ul, static_cast<NSRange*>(nullptr)),
            red);

  // A dictionary with a font only gains the foreground; the caller's stays.
  id font_only = ns::dictionary({{NSFontAttributeName, ns::string("body")}});
  msg<void>(string, "setAttributes:range:", font_only, NSMakeRange(3, 1));
  EXPECT_EQ(foreground_at(string, 3), textColor);
  EXPECT_EQ(msg<unsigned long>(font_only, "count"), 1u);

  // The highlight background, at any alpha, becomes the offset colour; one
  // differing in its last digit does not.
  const auto background_after_add = [&](id background) {
    id s = attributed("xy", nil);
    msg<void>(s, "addAttributes:range:",
              ns::dictionary({{NSBackgroundColorAttributeName, background}}), NSMakeRange(0, 2));
    EXPECT_EQ(foreground_at(s, 0), textColor);
    return msg<id>(s, "attribute:atIndex:effectiveRange:", NSBackgroundColorAttributeName, 0ul,
                   static_cast<NSRange*>(nullptr));
  };
  id highlight_half =
      msg<id>(objc_getClass("UIColor"), "colorWithRed:green:blue:alpha:", 0xFD / 255.0,
              0xFA / 255.0, 0xD3 / 255.0, 0.5);
  EXPECT_EQ(text_of(background_after_add(highlight_half)), "#666666");
  id near = rgb(0xFD / 255.0, 0xFA / 255.0, 0xD2 / 255.0);
  EXPECT_EQ(background_after_add(near), near);
  // A background that is not a colour is no match, and the rule goes on.
  id not_color = ns::string("yellow");
  EXPECT_EQ(background_after_add(not_color), not_color);

  // No dictionary, or something else, passes on unchanged.
  id s = attributed("z", nil);
  msg<void>(s, "addAttributes:range:", nil, NSMakeRange(0, 1));
  msg<void>(s, "setAttributes:range:", ns::string("not a dictionary"), NSMakeRange(0, 0));
  EXPECT_EQ(foreground_at(s, 0), nil);

  settings.enabled = 0;
  id off = attributed("ab", nil);
  msg<void>(off, "addAttribute:value:range:", NSForegroundColorAttributeName, red,
            NSMakeRange(0, 2));
  EXPECT_EQ(foreground_at(off, 0), red);
}

TEST_F(TextRules, RecoloringGoesThroughTheAttributeRule) {
  ns::LogCapture log;
  id dark = ns::dictionary({{NSForegroundColorAttributeName, rgb(0, 0, 0)}});
  id mid = ns::dictionary(
      {{NSForegroundColorAttributeName, rgb(0x76 / 255.0, 0x76 / 255.0, 0x76 / 255.0)}});
  // With the theme on, the new colour passes the attribute rule: textColor.
  id recolored = msg<id>(attributed("abc", mid), "replaceColorsWith:", textColor);
  EXPECT_EQ(foreground_at(recolored, 2), textColor);
  // With it off, the recolouring alone gives the light blue for the mid-grey.
  settings.enabled = 0;
  id blue = msg<id>(attributed("abc", mid), "replaceColorsWith:", textColor);
  EXPECT_EQ(text_of(foreground_at(blue, 0)), "#51B8FF");
  EXPECT_EQ(
      text_of(foreground_at(msg<id>(attributed("a", dark), "replaceColorsWith:", textColor), 0)),
      "#CCCCCC");
  // Kept: no foreground, an equal colour text, an absent colour; nothing logged.
  id plain = attributed("abc", nil);
  EXPECT_EQ(msg<id>(plain, "replaceColorsWith:", textColor), plain);
  id same = attributed("abc", ns::dictionary({{NSForegroundColorAttributeName, textColor}}));
  EXPECT_EQ(msg<id>(same, "replaceColorsWith:", textColor), same);
  EXPECT_EQ(msg<id>(same, "replaceColorsWith:", nil), same);
  EXPECT_TRUE(log.messages().empty());
  // An empty text and a foreground that is not a colour log one line each.
  id empty = attributed("", nil);
  EXPECT_EQ(msg<id>(empty, "replaceColorsWith:", textColor), empty);
  id wrong = attributed("a", ns::dictionary({{NSForegroundColorAttributeName, ns::string("x")}}));
  EXPECT_EQ(msg<id>(wrong, "replaceColorsWith:", textColor), wrong);
  ASSERT_EQ(log.messages().size(), 2u);
  EXPECT_EQ(log.messages()[0].rfind("-----------------Exception:", 0), 0u);
}

TEST_F(TextRules, LabelsReportAndDrawInTheTextColor) {
  Ref label = make("UILabel");
  id blue = rgb(0, 0, 1);
  msg<void>(label.get(), "setTextColor:", blue);
  msg<void>(label.get(), "setText:", ns::string("Subject"));
  EXPECT_EQ(msg<id>(label.get(), "textColor"), textColor);
  // Drawing replaces the default attributes' foreground, found by name.
  id before = msg<id>(label.get(), "valueForKey:", ns::string("_defaultAttributes"));
  cf::main_run_loop().run_once(0ms);
  id after = msg<id>(label.get(), "valueForKey:", ns::string("_defaultAttributes"));
  EXPECT_NE(after, before);
  EXPECT_EQ(msg<id>(after, "objectForKeyedSubscript:", NSForegroundColorAttributeName), textColor);
  id drawn = msg<id>(label.get(), "valueForKey:", ns::string("_synthesizedAttributedText"));
  EXPECT_EQ(foreground_at(drawn, 0), textColor);
  // Once it holds textColor, a redraw keeps the same dictionary.
  msg<void>(label.get(), "drawRect:", CGRectMake(0, 0, 1, 1));
  EXPECT_EQ(msg<id>(label.get(), "valueForKey:", ns::string("_defaultAttributes")), after);
  // Without a foreground entry, nothing changes.
  id font_only = ns::dictionary({{NSFontAttributeName, ns::string("body")}});
  msg<void>(label.get(), "setValue:forKey:", font_only, ns::string("_defaultAttributes"));
  msg<void>(label.get(), "drawRect:", CGRectMake(0, 0, 1, 1));
  EXPECT_EQ(msg<id>(label.get(), "valueForKey:", ns::string("_defaultAttributes")), font_only);

  static Class excluded = objc::ClassDefinition("_PrivateLabel", objc_getClass("UILabel")).finish();
  static Class subclass = objc::ClassDefinition("AppLabel", excluded).finish();
  Ref own = Ref::adopt(msg<id>(excluded, "new"));
  msg<void>(own.get(), "setTextColor:", blue);
  EXPECT_EQ(msg<id>(own.get(), "textColor"), blue);
  Ref sub = Ref::adopt(msg<id>(subclass, "new"));
  EXPECT_EQ(msg<id>(sub.get(), "textColor"), textColor);

  id mid = ns::dictionary({{NSForegroundColorAttributeName, rgb(0, 0, 0)}});
  msg<void>(label.get(), "setAttributedText:", attributed("abc", mid));
  EXPECT_EQ(foreground_at(msg<id>(label.get(), "attributedText"), 0), textColor);
  msg<void>(own.get(), "setAttributedText:", attributed("abc", mid));
  EXPECT_NE(foreground_at(msg<id>(own.get(), "attributedText"), 0), textColor);

  settings.enabled = 0;
  EXPECT_EQ(msg<id>(label.get(), "textColor"), blue);
}

TEST_F(TextRules, TextViewsInkAndTheAppStoreButton) {
  settings.enabled = 1;
  for (const char* view_class : {"UITextView", "GOOMultilineTextField", "GBTTextField"}) {
    Ref view = make(view_class);
    msg<void>(view.get(), "setTextColor:", rgb(0, 0, 0));
    EXPECT_EQ(msg<id>(view.get(), "textColor"), textColor) << view_class;
  }
  Ref ink = make("MDCInkView");
  EXPECT_EQ(msg<id>(ink.get(), "inkColor"), lighterBgColor);
  EXPECT_EQ(msg<id>(ink.get(), "defaultInkColor"), lighterBgColor);
  EXPECT_EQ(msg<id>(make("GSKStreamingTextView").get(), "fillColor"), textColor);

  Ref text_view = make("UITextView");
  msg<void>(text_view.get(), "setAttributedText:",
            attributed("ab", ns::dictionary({{NSForegroundColorAttributeName, rgb(0, 0, 0)}})));
  EXPECT_EQ(foreground_at(msg<id>(text_view.get(), "attributedText"), 1), textColor);
  EXPECT_EQ(msg<id>(make("UITextView").get(), "attributedText"), nil);

  // The button's shape layer is filled after every drawing pass; a plain
  // view's layer is never sent setFillColor:.
  Ref button = make("GRWAppStoreButton");
  msg<void>(button.get(), "setNeedsDisplay");
  cf::main_run_loop().run_once(0ms);
  EXPECT_EQ(text_of(msg<id>(objc_getClass("UIColor"), "colorWithCGColor:",
                            msg<CGColorRef>(msg<id>(button.get(), "layer"), "fillColor"))),
            "#1B1B1B");

  settings.enabled = 0;
  Ref plain_ink = make("MDCInkView");
  EXPECT_EQ(msg<id>(plain_ink.get(), "inkColor"), nil);
  EXPECT_EQ(msg<id>(make("UITextView").get(), "textColor"), nil);
}

}  // namespace
}  // namespace tenebra
