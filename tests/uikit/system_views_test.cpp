// The system's chrome as the app meets it: the status bar and its style
// requests, the keyboard that a text input brings up and its render
// configuration, the layout pass of the main run loop, pickers and their
// rows, the PIN keypad, URLs and key-value coding.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/corefoundation/run_loop.h"
#include "platform/coregraphics/geometry.h"
#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_exception.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"
#include "platform/uikit/ui_keyboard.h"
#include "platform/uikit/ui_picker_view.h"

namespace {

using objc::msg;
using objc::Ref;

id make(const char* class_name, CGRect frame = CGRectMake(0, 0, 320, 480)) {
  return ns::autorelease(
      msg<id>(msg<id>(objc_getClass(class_name), "alloc"), "initWithFrame:", frame));
}
id color(const char* name) { return msg<id>(objc_getClass("UIColor"), name); }
std::string raised(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const objc::Exception& e) {
    return ns::exception_name(e.object());
  }
  return "";
}

class SystemViews : public ::testing::Test {
 protected:
  ns::AutoreleasePool pool_;
};

TEST_F(SystemViews, EachStyleRequestMakesAttributesTheItemsTakeTheirColorFrom) {
  id bar = make("UIStatusBar", CGRectMake(0, 0, 375, 44));
  id first = msg<id>(bar, "styleAttributes");
  // Dark content by default: black items on a clear bar.
  EXPECT_EQ(msg<id>(first, "foregroundColor"), color("blackColor"));
  EXPECT_EQ(msg<id>(first, "backgroundColor"), color("clearColor"));
  msg<void>(bar, "requestStyle:", 1L);
  id light = msg<id>(bar, "styleAttributes");
  EXPECT_NE(light, first);
  EXPECT_EQ(msg<long>(msg<id>(light, "request"), "style"), 1L);
  EXPECT_EQ(msg<id>(msg<id>(bar, "timeView"), "textColor"), color("whiteColor"));
  EXPECT_EQ(msg<id>(msg<id>(bar, "wifiView"), "tintColor"), color("whiteColor"));
  EXPECT_EQ(msg<id>(msg<id>(bar, "signalView"), "activeColor"), color("whiteColor"));
}

TEST_F(SystemViews, TextInputInAWindowBringsUpTheKeyboardOfItsAppearance) {
  id window = make("UIWindow", CGRectMake(0, 0, 375, 812));
  id field = make("UITextField", CGRectMake(0, 100, 300, 44));
  // Not in a window yet: it cannot take the keyboard.
  EXPECT_FALSE(msg<BOOL>(field, "becomeFirstResponder"));
  msg<void>(window, "addSubview:", field);
  ASSERT_TRUE(msg<BOOL>(field, "becomeFirstResponder"));
  id keyboard = msg<id>(objc_getClass("UIKeyboard"), "activeKeyboard");
  ASSERT_NE(keyboard, nil);
  EXPECT_EQ(msg<id>(keyboard, "superview"), window);
  EXPECT_EQ(msg<CGRect>(keyboard, "frame"),
            CGRectMake(0, 812 - ui::kKeyboardHeight, 375, ui::kKeyboardHeight));
  EXPECT_TRUE(msg<BOOL>(msg<id>(keyboard, "renderConfig"), "lightKeyboard"));

  // The keyboard's layout lays the dock along its bottom, in its backdrop.
  msg<void>(keyboard, "layoutIfNeeded");
  id dock = msg<id>(keyboard, "dockView");
  EXPECT_EQ(msg<CGRect>(dock, "frame"), CGRectMake(0, ui::kKeyboardHeight - ui::kKeyboardDockHeight,
                                                   375, ui::kKeyboardDockHeight));
  EXPECT_EQ(msg<id>(dock, "backgroundColor"), msg<id>(keyboard, "backgroundColor"));

  EXPECT_TRUE(msg<BOOL>(window, "endEditing:", YES));
  EXPECT_FALSE(msg<BOOL>(field, "isFirstResponder"));
  EXPECT_EQ(msg<id>(objc_getClass("UIKeyboard"), "activeKeyboard"), nil);
  // A plain view never takes the keyboard.
  EXPECT_FALSE(msg<BOOL>(make("UIView"), "becomeFirstResponder"));
}

TEST_F(SystemViews, RenderConfigurationIsLightExceptForTheDarkAppearance) {
  Class config = objc_getClass("UIKBRenderConfig");
  EXPECT_TRUE(msg<BOOL>(msg<id>(config, "defaultConfig"), "lightKeyboard"));
  EXPECT_FALSE(msg<BOOL>(msg<id>(config, "darkConfig"), "lightKeyboard"));
  EXPECT_TRUE(msg<BOOL>(msg<id>(config, "configForAppearance:", 2L), "lightKeyboard"));
}

TEST_F(SystemViews, LayoutRequestsShareOnePassOfTheRunLoop) {
  // Only the key window's tree is laid out by the pass.
  Ref window = Ref::adopt(msg<id>(msg<id>(objc_getClass("UIWindow"), "alloc"),
                                  "initWithFrame:", CGRectMake(0, 0, 375, 812)));
  msg<void>(window, "makeKeyAndVisible");
  id keypad = make("DevicePINKeypad", CGRectMake(0, 0, 300, 400));
  msg<void>(window, "addSubview:", keypad);
  msg<void>(keypad, "setNeedsLayout");
  msg<void>(keypad, "setNeedsLayout");
  cf::main_run_loop().run_once(std::chrono::milliseconds(0));
  const std::vector<id> keys = ns::array_items(msg<id>(keypad, "subviews"));
  ASSERT_EQ(keys.size(), 12u);
  EXPECT_EQ(msg<CGRect>(keys[4], "frame"), CGRectMake(100, 100, 100, 100));
  // Nothing more was queued: the second request joined the first pass.
  EXPECT_FALSE(cf::main_run_loop().run_once(std::chrono::milliseconds(0)));
  // A view with no superview is laid out when asked.
  id orphan = make("DevicePINKeypad", CGRectMake(0, 0, 30, 40));
  msg<void>(orphan, "layoutIfNeeded");
  EXPECT_EQ(msg<CGRect>(ns::array_items(msg<id>(orphan, "subviews"))[11], "frame"),
            CGRectMake(20, 30, 10, 10));
}

// A data source whose answers the test sets.
struct Rows {
  long components = 2;
  long rows = 100;
  bool titles = true;
};
Rows rows_answered;
long data_components(id, SEL, id) { return rows_answered.components; }
long data_rows(id, SEL, id, long) { return rows_answered.rows; }
id data_title(id, SEL, id, long row, long) {
  return rows_answered.titles ? ns::string(std::to_string(row)) : nil;
}

TEST_F(SystemViews, PickerShowsTheRowsAroundTheSelectedOne) {
  if (objc_getClass("TestPickerSource") == Nil) {
    objc::ClassDefinition("TestPickerSource", objc_getClass("NSObject"))
        .method("numberOfComponentsInPickerView:", data_components)
        .method("pickerView:numberOfRowsInComponent:", data_rows)
        .method("pickerView:titleForRow:forComponent:", data_title)
        .finish();
  }
  Ref source = Ref::adopt(msg<id>(objc_getClass("TestPickerSource"), "new"));
  id picker = make("UIPickerView");
  msg<void>(picker, "setDataSource:", source.get());
  msg<void>(picker, "setDelegate:", source.get());
  rows_answered = {};
  msg<void>(picker, "selectRow:inComponent:animated:", 50L, 1L, NO);
  msg<void>(picker, "layoutIfNeeded");
  for (long row = 0; row < 100; ++row) {
    const bool shown_in_first = row <= ui::kPickerVisibleRowsAround;
    const bool shown_in_second = row >= 48 && row <= 52;
    EXPECT_EQ(msg<id>(picker, "viewForRow:forComponent:", row, 0L) != nil, shown_in_first) << row;
    EXPECT_EQ(msg<id>(picker, "viewForRow:forComponent:", row, 1L) != nil, shown_in_second) << row;
  }
  EXPECT_EQ(msg<id>(picker, "viewForRow:forComponent:", 0L, 2L), nil);
  EXPECT_EQ(msg<id>(picker, "viewForRow:forComponent:", 0L, -1L), nil);

  // Counts below zero are none; absent titles make cells without a title.
  rows_answered = {-3, -1, false};
  msg<void>(picker, "reloadAllComponents");
  EXPECT_EQ(msg<long>(picker, "numberOfComponents"), 0L);
  rows_answered = {1, 3, false};
  msg<void>(picker, "reloadAllComponents");
  id cell = msg<id>(picker, "viewForRow:forComponent:", 0L, 0L);
  ASSERT_NE(cell, nil);
  EXPECT_EQ(msg<id>(cell, "attributedTitle"), nil);
  // Without a data source a picker has nothing to show.
  msg<void>(picker, "setDataSource:", nil);
  msg<void>(picker, "reloadAllComponents");
  EXPECT_TRUE(ns::array_items(msg<id>(picker, "subviews")).empty());
}

TEST_F(SystemViews, UrlsKeepTheirTextAndKnowTheirScheme) {
  struct Case {
    const char* text;
    const char* scheme;
  };
  const Case cases[] = {{"https://mail.google.com", "https"},
                        {"HTTP://a", "HTTP"},
                        {"mailto:a@b", "mailto"},
                        {"no-scheme", nullptr},
                        {"1http://a", nullptr},
                        {":/", nullptr}};
  for (const Case& c : cases) {
    id url = msg<id>(objc_getClass("NSURL"), "URLWithString:", ns::string(c.text));
    EXPECT_EQ(ns::utf8(msg<id>(url, "absoluteString")), c.text);
    id scheme = msg<id>(url, "scheme");
    EXPECT_EQ(scheme == nil ? "" : ns::utf8(scheme), c.scheme == nullptr ? "" : c.scheme) << c.text;
  }
  EXPECT_EQ(msg<id>(objc_getClass("NSURL"), "URLWithString:", NSSTR("")), nil);
  EXPECT_EQ(msg<id>(objc_getClass("NSURL"), "URLWithString:", nil), nil);
}

TEST_F(SystemViews, KeyValueCodingReachesAccessorsAndObjectMembers) {
  id view = make("UIView");
  msg<void>(view, "setValue:forKey:", color("redColor"), NSSTR("backgroundColor"));
  EXPECT_EQ(msg<id>(view, "valueForKey:", NSSTR("backgroundColor")), color("redColor"));
  msg<void>(view, "setValue:forKey:", NSSTR("x"), NSSTR("_accessibilityIdentifier"));
  EXPECT_EQ(ns::utf8(msg<id>(view, "accessibilityIdentifier")), "x");
  // A key with no accessor and no member of that name raises.
  EXPECT_EQ(raised([&] { msg<void>(view, "setValue:forKey:", nil, NSSTR("nothing")); }),
            "NSUnknownKeyException");
}

}  // namespace
