// The chrome rules wired into the runtime, each at its own method: the
// status bar, the Safari view, navigation bars and selection, pickers, the
// keyboard and the app's components. Each row is checked under the three
// settings that tell its gate apart: everything on, the dark keyboard off,
// the theme off.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/host_interface.h"
#include "core/palette.h"
#include "core/settings.h"
#include "overrides/host/host_components.h"
#include "overrides/system/grey_choice.h"
#include "overrides/system/keyboard_choice.h"
#include "overrides/system/status_bar.h"
#include "platform/coregraphics/geometry.h"
#include "platform/foundation/foundation_types.h"
#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"
#include "platform/uikit/text_attributes.h"
#include "toolkit/color/platform_color.h"
#include "tools/support/themed_process.h"

namespace tenebra {
namespace {

using objc::msg;
using objc::Ref;

enum class Gate { kTheme, kKeyboard };

struct Setting {
  const char* name;
  bool enabled;
  bool dark_keyboard;
  bool opens(Gate gate) const { return enabled && (gate == Gate::kTheme || dark_keyboard); }
};
constexpr Setting kSettings[] = {
    {"all on", true, true}, {"dark keyboard off", true, false}, {"theme off", false, true}};

id red() { return msg<id>(objc_getClass("UIColor"), "redColor"); }
id white() { return msg<id>(objc_getClass("UIColor"), "whiteColor"); }
id make(const char* class_name) {
  return ns::autorelease(msg<id>(objc_getClass(class_name), "new"));
}
std::string color_text(id color) {
  const auto value = toolkit::color_of(color);
  return value ? std::string(toolkit::color_text(*value).view()) : "nil";
}
// What the object keeps in its member, read past every getter.
id stored(id object, const char* member) {
  id* slot = member_named(object, member);
  return slot == nullptr ? nil : *slot;
}

class ChromeRules : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::bring_up_theme(); }
  void TearDown() override { settings = default_settings(); }
  static void apply(const Setting& setting) {
    settings.enabled = setting.enabled;
    settings.enableDarkKeyboard = setting.dark_keyboard;
  }
  ns::AutoreleasePool pool_;
};

// Setters that store a theme colour in place of any incoming one, read back
// from the member they store into.
TEST_F(ChromeRules, SettersStoreTheThemeColorWhileTheirGateHolds) {
  struct Row {
    const char* class_name;
    const char* setter;
    const char* member;
    Gate gate;
  };
  const Row rows[] = {
      {"GBTNavigationBar", "setCustomBarTintColor:", "_customBarTintColor", Gate::kTheme},
      {"GBTNavigationBar", "setBarTintColor:", "_barTintColor", Gate::kTheme},
      {"UITableViewCellSelectedBackground", "setSelectionTintColor:", "_selectionTintColor",
       Gate::kTheme},
      {"UIPickerView", "setBackgroundColor:", "_backgroundColor", Gate::kKeyboard},
      {"GBTRoundedCornerView", "setFillColor:", "_fillColor", Gate::kTheme},
      {"OGLItemListViewCellBackgroundView", "setBackgroundColor:", "_backgroundColor",
       Gate::kTheme},
      {"GBTKeyboardPromoView", "setBackgroundColor:", "_backgroundColor", Gate::kTheme},
  };
  for (const Setting& setting : kSettings) {
    apply(setting);
    for (const Row& row : rows) {
      for (id incoming : {red(), id{nil}}) {
        id object = make(row.class_name);
        msg<void>(object, row.setter, incoming);
        EXPECT_EQ(stored(object, row.member), setting.opens(row.gate) ? lighterBgColor : incoming)
            << row.class_name << " " << row.setter << ", " << setting.name;
      }
    }
  }
}

// Getters that answer a theme colour without asking what is stored.
TEST_F(ChromeRules, GettersAnswerTheThemeColorWhileTheThemeIsOn) {
  struct Row {
    const char* class_name;
    const char* getter;
    const char* member;
    std::function<id()> themed;
  };
  const Row rows[] = {
      {"_UIStatusBarImageView", "tintColor", "_tintColor", white},
      {"_UIStatusBarStringView", "textColor", "_textColor", white},
      {"_UIStatusBarSignalView", "activeColor", "_activeColor", white},
      {"UIStatusBarNewUIStyleAttributes", "foregroundColor", "_foregroundColor", white},
      {"ExpandableTextField", "tintColor", "_tintColor", [] { return textColor; }},
      {"GBTRoundedCornerView", "fillColor", "_fillColor", [] { return lighterBgColor; }},
      {"OGLItemListViewCellBackgroundView", "backgroundColor", "_backgroundColor",
       [] { return lighterBgColor; }},
      {"MDCFloatingButton", "backgroundColor", "_backgroundColor", [] { return lighterBgColor; }},
      {"GBTKeyboardPromoView", "backgroundColor", "_backgroundColor",
       [] { return lighterBgColor; }},
  };
  for (const Setting& setting : kSettings) {
    apply(setting);
    for (const Row& row : rows) {
      id object = make(row.class_name);
      *member_named(object, row.member) = msg<id>(red(), "retain");
      EXPECT_EQ(msg<id>(object, row.getter), setting.enabled ? row.themed() : red())
          << row.class_name << " " << row.getter << ", " << setting.name;
    }
  }
}

TEST_F(ChromeRules, StyleAttributesTakeAWhiteForegroundAndKeepTheirBackground) {
  for (const Setting& setting : kSettings) {
    apply(setting);
    for (id foreground : {red(), id{nil}}) {
      id background = msg<id>(objc_getClass("UIColor"), "clearColor");
      Ref attributes = Ref::adopt(
          msg<id>(msg<id>(objc_getClass("UIStatusBarNewUIStyleAttributes"), "alloc"),
                  "initWithRequest:backgroundColor:foregroundColor:", nil, background, foreground));
      // Read at the saved getter, which the foreground rule would hide.
      EXPECT_EQ(saved_status_bar_style_foreground_color(attributes, objc::sel("foregroundColor")),
                setting.enabled ? white() : foreground)
          << setting.name;
      EXPECT_EQ(msg<id>(attributes, "backgroundColor"), background);
    }
  }
}

TEST_F(ChromeRules, SafariViewTakesControlThenBarTints) {
  id url = msg<id>(objc_getClass("NSURL"), "URLWithString:", NSSTR("https://example.com/a"));
  for (const Setting& setting : kSettings) {
    apply(setting);
    Ref safari = Ref::adopt(
        msg<id>(msg<id>(objc_getClass("SFSafariViewController"), "alloc"), "initWithURL:", url));
    EXPECT_EQ(msg<id>(safari, "preferredControlTintColor"), setting.enabled ? textColor : nil);
    EXPECT_EQ(msg<id>(safari, "preferredBarTintColor"), setting.enabled ? lighterBgColor : nil);
    EXPECT_TRUE(msg<BOOL>(msg<id>(safari, "URL"), "isEqual:", url));
  }
  // An address Safari cannot show raises, as the initialiser does unthemed.
  for (id bad : {id{nil}, msg<id>(objc_getClass("NSURL"), "URLWithString:", NSSTR("mailto:a@b"))}) {
    EXPECT_THROW(
        msg<id>(msg<id>(objc_getClass("SFSafariViewController"), "alloc"), "initWithURL:", bad),
        objc::Exception);
  }
}

TEST_F(ChromeRules, DatePickerTitleIsRecoloredUnderTheKeyboardGate) {
  for (const Setting& setting : kSettings) {
    apply(setting);
    id content = make("UIDatePickerContentView");
    id label = msg<id>(content, "titleLabel");
    EXPECT_EQ(stored(label, "_textColor"), setting.opens(Gate::kKeyboard) ? textColor : nil)
        << setting.name;
  }
}

// The title keeps its characters and loses every attribute but the text
// colour; an absent title, or one that is no attributed text, is kept.
TEST_F(ChromeRules, PickerRowTitlesTakeTheTextColorAlone) {
  id bold_red = ns::dictionary(
      {{NSFontAttributeName, NSSTR("bold")}, {NSForegroundColorAttributeName, red()}});
  id title = ns::autorelease(msg<id>(msg<id>(objc_getClass("NSAttributedString"), "alloc"),
                                     "initWithString:attributes:", NSSTR("é😀 9:30"), bold_red));
  for (const Setting& setting : kSettings) {
    apply(setting);
    id cell = make("UIPickerTableViewTitledCell");
    msg<void>(cell, "setAttributedTitle:", title);
    id shown = msg<id>(cell, "attributedTitle");
    EXPECT_TRUE(msg<BOOL>(msg<id>(shown, "string"), "isEqual:", msg<id>(title, "string")));
    NSRange run{};
    id attributes = msg<id>(shown, "attributesAtIndex:effectiveRange:", 0UL, &run);
    EXPECT_EQ(run.length, 8u) << setting.name;
    if (setting.opens(Gate::kKeyboard)) {
      EXPECT_EQ(msg<unsigned long>(attributes, "count"), 1u) << setting.name;
      EXPECT_EQ(msg<id>(attributes, "objectForKey:", NSForegroundColorAttributeName), textColor);
    } else {
      EXPECT_TRUE(msg<BOOL>(shown, "isEqual:", title)) << setting.name;
    }
    for (id kept : {id{nil}, NSSTR("plain")}) {
      msg<void>(cell, "setAttributedTitle:", kept);
      EXPECT_TRUE(kept == nil ? msg<id>(cell, "attributedTitle") == nil
                              : msg<BOOL>(msg<id>(cell, "attributedTitle"), "isEqual:", kept))
          << setting.name;
    }
  }
}

// The keypad's grey passes the grey rule and the view background rule
// unchanged; a background the app sets later is its own.
TEST_F(ChromeRules, PinKeypadStartsOnTranslucentGreyUnderTheKeyboardGate) {
  for (const Setting& setting : kSettings) {
    apply(setting);
    Ref keypad = Ref::adopt(msg<id>(msg<id>(objc_getClass("DevicePINKeypad"), "alloc"),
                                    "initWithFrame:", CGRectMake(0, 0, 300, 400)));
    EXPECT_EQ(color_text(stored(keypad, "_backgroundColor")),
              setting.opens(Gate::kKeyboard) ? "#28B300" : "#F7FF00")
        << setting.name;
    msg<void>(keypad, "setBackgroundColor:", red());
    EXPECT_EQ(stored(keypad, "_backgroundColor"), red());
  }
  EXPECT_FALSE(replaced_white(kPinKeypadWhite, kPinKeypadAlpha));
}

TEST_F(ChromeRules, KeyboardStyleFollowsTheDarkKeyboardWhateverTheSystemChose) {
  struct Row {
    bool enabled, dark_keyboard, system_light, expected;
  };
  const Row rows[] = {
      {true, true, true, false},  {true, true, false, false}, {true, false, true, true},
      {true, false, false, true}, {false, true, true, true},  {false, false, false, false},
  };
  for (const Row& row : rows) {
    settings.enabled = row.enabled;
    settings.enableDarkKeyboard = row.dark_keyboard;
    id config = msg<id>(objc_getClass("UIKBRenderConfig"),
                        "configForAppearance:", row.system_light ? 0L : 1L);
    EXPECT_EQ(msg<BOOL>(config, "lightKeyboard") != NO, row.expected)
        << row.enabled << row.dark_keyboard << row.system_light;
    const std::optional<bool> themed = themed_light_keyboard(settings);
    EXPECT_EQ(themed.has_value(), row.enabled);
  }
}

TEST_F(ChromeRules, DockIsRecoloredAtEveryLayout) {
  for (const Setting& setting : kSettings) {
    apply(setting);
    id dock = make("UIKeyboardDockView");
    for (int pass = 0; pass < 2; ++pass) {
      msg<void>(dock, "setBackgroundColor:", red());
      msg<void>(dock, "layoutSubviews");
      EXPECT_EQ(stored(dock, "_backgroundColor"),
                setting.opens(Gate::kKeyboard) ? lighterBgColor : red())
          << setting.name;
    }
  }
}

TEST_F(ChromeRules, SearchBarGetsOneBackingViewOfItsFirstSize) {
  id bar = msg<id>(msg<id>(objc_getClass("GBTOpenSearchBarGradientView"), "alloc"),
                   "initWithFrame:", CGRectMake(0, 88, 320, 56));
  ns::autorelease(bar);
  for (int pass = 0; pass < 10; ++pass) msg<void>(bar, "layoutSubviews");
  const std::vector<id> added = ns::array_items(msg<id>(bar, "subviews"));
  ASSERT_EQ(added.size(), 1u);
  EXPECT_EQ(msg<CGRect>(added[0], "frame"), CGRectMake(0, 0, 320, 56));
  EXPECT_EQ(stored(added[0], "_backgroundColor"), bgColor);
  msg<void>(bar, "setFrame:", CGRectMake(0, 88, 414, 80));
  msg<void>(bar, "layoutSubviews");
  EXPECT_EQ(msg<CGRect>(added[0], "frame"), CGRectMake(0, 0, 320, 56));

  // A bar with a subview of its own, or laid out with the theme off, gets none.
  id own = make("GBTOpenSearchBarGradientView");
  msg<void>(own, "addSubview:", make("UIView"));
  msg<void>(own, "layoutSubviews");
  EXPECT_EQ(ns::array_items(msg<id>(own, "subviews")).size(), 1u);
  settings.enabled = 0;
  id off = make("GBTOpenSearchBarGradientView");
  msg<void>(off, "layoutSubviews");
  EXPECT_TRUE(ns::array_items(msg<id>(off, "subviews")).empty());
}

TEST_F(ChromeRules, ThreadSubjectTextIsRecoloredAtLayoutWhileTheThemeIsOn) {
  for (const Setting& setting : kSettings) {
    apply(setting);
    id subject_view = make("ThreadSubjectView");
    id text = make("UITextView");
    msg<void>(text, "setTextColor:", msg<id>(objc_getClass("UIColor"), "blackColor"));
    // Key-value coding reaches the member as the rule does.
    msg<void>(subject_view, "setValue:forKey:", text, NSSTR("_subjectTextView"));
    msg<void>(subject_view, "layoutSubviews");
    EXPECT_EQ(stored(text, "_textColor"),
              setting.enabled ? textColor : msg<id>(objc_getClass("UIColor"), "blackColor"))
        << setting.name;
  }
}

TEST_F(ChromeRules, ThreadSubjectWithoutATextViewIsLaidOutAlone) {
  // No text view, a member holding a plain view, and a class whose member of
  // that name is no object: the layout runs and nothing else happens.
  if (objc_getClass("IntegerSubjectView") == Nil) {
    objc::ClassDefinition("IntegerSubjectView", objc_getClass("ThreadSubjectView")).finish();
  }
  id empty = make("ThreadSubjectView");
  msg<void>(empty, "layoutSubviews");
  id plain = make("ThreadSubjectView");
  msg<void>(plain, "setSubjectTextView:", make("UIView"));
  msg<void>(plain, "layoutSubviews");
  EXPECT_EQ(stored(stored(plain, "_subjectTextView"), "_backgroundColor"), nil);

  if (objc_getClass("NumberedSubjectView") == Nil) {
    objc::ClassDefinition("NumberedSubjectView", objc_getClass("UIView"))
        .member<long>("_subjectTextView")
        .finish();
  }
  EXPECT_EQ(member_named(make("NumberedSubjectView"), "_subjectTextView"), nullptr);
}

TEST_F(ChromeRules, FloatingButtonAnswersTheRaisedSurfaceForEveryState) {
  for (const Setting& setting : kSettings) {
    apply(setting);
    id button = make("MDCFloatingButton");
    msg<void>(button, "setBackgroundColor:forState:", red(), 0UL);
    for (unsigned long state : {0UL, 1UL, 2UL}) {
      EXPECT_EQ(msg<id>(button, "backgroundColorForState:", state),
                setting.enabled ? lighterBgColor : red())
          << setting.name << " state " << state;
    }
    // The plain setter stores the normal state's colour.
    msg<void>(button, "setBackgroundColor:", white());
    EXPECT_EQ(saved_floating_button_background_for_state(button,
                                                         objc::sel("backgroundColorForState:"), 0),
              setting.enabled ? lighterBgColor : white());
  }
}

}  // namespace
}  // namespace tenebra
