// The themed app's screens end to end: the host app model builds each screen
// as the app does, the main run loop's layout pass lays it out, and what the
// user would see comes out of the chains of rules (a component's setter
// through the view background rule, a layout rule after the saved layout, an
// image rule's result through the image view rule).
// Colours are read from the members the views draw with, past any getter
// rule.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "core/host_interface.h"
#include "core/palette.h"
#include "core/settings.h"
#include "hosts/gmail/host_app.h"
#include "overrides/system/keyboard.h"
#include "platform/corefoundation/run_loop.h"
#include "platform/coregraphics/cg_image.h"
#include "platform/coregraphics/geometry.h"
#include "platform/foundation/foundation_types.h"
#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"
#include "platform/uikit/text_attributes.h"
#include "toolkit/color/platform_color.h"
#include "toolkit/image/bitmap_drawing.h"
#include "tools/support/themed_process.h"

namespace tenebra {
namespace {

using objc::msg;

id stored(id object, const char* member) {
  id* slot = member_named(object, member);
  return slot == nullptr ? nil : *slot;
}
// The first view of the class in the tree, depth first.
id find(id view, const char* class_name) {
  if (std::string(objc::class_name_of(view)) == class_name) return view;
  for (id child : ns::array_items(msg<id>(view, "subviews"))) {
    if (id found = find(child, class_name)) return found;
  }
  return nil;
}
id white() { return msg<id>(objc_getClass("UIColor"), "whiteColor"); }
std::string color_text(id color) {
  const auto value = toolkit::color_of(color);
  return value ? std::string(toolkit::color_text(*value).view()) : "nil";
}
std::string average_text(id image) {
  return color_text(msg<id>(objc_getClass("UIColor"), "averageColorForImage:", image));
}
// The attributes of a picker row's title, all over its text.
id title_attributes(id picker, long row) {
  id title = msg<id>(msg<id>(picker, "viewForRow:forComponent:", row, 0L), "attributedTitle");
  NSRange run{};
  id attributes = msg<id>(title, "attributesAtIndex:effectiveRange:", 0UL, &run);
  EXPECT_EQ(run.length, msg<unsigned long>(title, "length"));
  return attributes;
}
void run_layout_pass() { cf::main_run_loop().run_once(std::chrono::milliseconds(0)); }

class ThemedScreens : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    testing::bring_up_theme();
    host::HostOptions options;
    options.load_tweaks = false;
    app_ = new host::HostApp(options);
    app_->launch();
  }
  void TearDown() override { settings = default_settings(); }
  id root() const { return msg<id>(msg<id>(app_->window(), "rootViewController"), "view"); }

  static host::HostApp* app_;
  ns::AutoreleasePool pool_;
};
host::HostApp* ThemedScreens::app_ = nullptr;

TEST_F(ThemedScreens, InboxChromeIsDark) {
  app_->show_inbox();
  run_layout_pass();
  id bar = app_->status_bar();
  EXPECT_EQ(msg<id>(msg<id>(bar, "timeView"), "textColor"), white());
  EXPECT_EQ(msg<id>(msg<id>(bar, "signalView"), "activeColor"), white());
  EXPECT_EQ(msg<id>(msg<id>(bar, "batteryView"), "tintColor"), white());

  id navigation = find(root(), "GBTNavigationBar");
  EXPECT_EQ(msg<id>(navigation, "barTintColor"), lighterBgColor);
  EXPECT_EQ(msg<id>(navigation, "customBarTintColor"), lighterBgColor);

  // The search bar's backing view came with the first layout pass.
  id gradient = find(root(), "GBTOpenSearchBarGradientView");
  const auto backing = ns::array_items(msg<id>(gradient, "subviews"));
  ASSERT_EQ(backing.size(), 1u);
  EXPECT_EQ(stored(backing[0], "_backgroundColor"), bgColor);
  EXPECT_EQ(stored(find(root(), "GBTRoundedCornerView"), "_fillColor"), lighterBgColor);
  EXPECT_EQ(msg<id>(find(root(), "ExpandableTextField"), "tintColor"), textColor);
  EXPECT_EQ(stored(find(root(), "OGLItemListViewCellBackgroundView"), "_backgroundColor"),
            lighterBgColor);

  // The compose button shows its state's colour, put on the view through
  // the view background rule; pressing it changes nothing.
  id compose = find(root(), "MDCFloatingButton");
  EXPECT_EQ(stored(compose, "_backgroundColor"), lighterBgColor);
  msg<void>(compose, "setHighlighted:", YES);
  EXPECT_EQ(stored(compose, "_backgroundColor"), lighterBgColor);

  // A selected row shows UIKit's selection background in the raised surface.
  id cell = find(root(), "UITableViewCell");
  msg<void>(cell, "setSelected:", YES);
  EXPECT_EQ(msg<id>(find(cell, "UITableViewCellSelectedBackground"), "selectionTintColor"),
            lighterBgColor);
}

// Each thread row's face stands on the plain background its class now
// makes, and on the raised surface while it is touched.
TEST_F(ThemedScreens, InboxThreadRowsStandOnPlainPaletteBackgrounds) {
  app_->show_inbox();
  run_layout_pass();
  id face = find(root(), "ThreadCellFrontView");
  EXPECT_EQ(msg<CGSize>(msg<id>(face, "backgroundImage"), "size"), CGSizeMake(16, 88));
  EXPECT_EQ(average_text(msg<id>(face, "backgroundImage")), "#000000");
  msg<void>(face, "setHighlighted:", YES);
  run_layout_pass();
  EXPECT_EQ(average_text(msg<id>(face, "backgroundImage")), "#1B1B1B");
  msg<void>(face, "setHighlighted:", NO);
  msg<void>(face, "setGreySelected:", YES);
  run_layout_pass();
  EXPECT_EQ(average_text(msg<id>(face, "backgroundImage")), "#000000");
}

// The selected folder's icon is tinted in the text colour, then shown as a
// template in it by the image view rule; the others are templates too.
TEST_F(ThemedScreens, SidePanelShowsTheSelectedFolderInTheTextColor) {
  app_->show_side_panel();
  run_layout_pass();
  const auto cells = ns::array_items(msg<id>(find(root(), "UITableView"), "subviews"));
  ASSERT_EQ(cells.size(), 5u);
  for (id cell : cells) {
    id view = msg<id>(cell, "iconView");
    EXPECT_EQ(msg<long>(msg<id>(view, "image"), "renderingMode"), 2);
    EXPECT_EQ(msg<id>(view, "tintColor"), textColor);
  }
  id selected = msg<id>(msg<id>(cells[0], "iconView"), "image");
  CGImageRef pixels = msg<CGImageRef>(selected, "CGImage");
  const auto bitmap = toolkit::draw_into_bitmap(
      selected, CGImageGetWidth(pixels), CGImageGetHeight(pixels), toolkit::DrawBlend::kCopy);
  EXPECT_EQ(bitmap->pixel(24, 24), (toolkit::PremultipliedPixel{0xCC, 0xCC, 0xCC, 0xFF}));
}

TEST_F(ThemedScreens, PasscodeKeypadStartsOnTranslucentGrey) {
  app_->show_passcode();
  run_layout_pass();
  EXPECT_EQ(color_text(stored(find(root(), "DevicePINKeypad"), "_backgroundColor")), "#28B300");
}

TEST_F(ThemedScreens, ThreadSubjectIsLightGreyAfterEachLayout) {
  app_->show_thread("Lunch on Friday?");
  run_layout_pass();
  id subject = find(root(), "ThreadSubjectView");
  id text = msg<id>(subject, "subjectTextView");
  EXPECT_EQ(stored(text, "_textColor"), textColor);
  msg<void>(text, "setTextColor:", msg<id>(objc_getClass("UIColor"), "blackColor"));
  msg<void>(subject, "setNeedsLayout");
  run_layout_pass();
  EXPECT_EQ(stored(text, "_textColor"), textColor);
}

TEST_F(ThemedScreens, ComposeShowsADarkKeyboardWithARaisedDock) {
  id compose = app_->show_compose();
  run_layout_pass();
  id keyboard = msg<id>(objc_getClass("UIKeyboard"), "activeKeyboard");
  ASSERT_NE(keyboard, nil);
  EXPECT_TRUE(msg<BOOL>(msg<id>(compose, "bodyView"), "isFirstResponder"));
  // The system chose a light keyboard for the default appearance; the theme
  // answers dark, so the keyboard draws its dark backdrop.
  id config = msg<id>(keyboard, "renderConfig");
  EXPECT_TRUE(saved_render_config_light_keyboard(config, objc::sel("lightKeyboard")));
  EXPECT_FALSE(msg<BOOL>(msg<id>(keyboard, "renderConfig"), "lightKeyboard"));
  id dock = msg<id>(keyboard, "dockView");
  EXPECT_EQ(stored(dock, "_backgroundColor"), lighterBgColor);
  EXPECT_EQ(stored(find(root(), "GBTKeyboardPromoView"), "_backgroundColor"), lighterBgColor);

  // With the dark keyboard off, the next layout of the keyboard is light
  // and so is its dock.
  settings.enableDarkKeyboard = 0;
  msg<void>(keyboard, "setNeedsLayout");
  run_layout_pass();
  EXPECT_TRUE(msg<BOOL>(msg<id>(keyboard, "renderConfig"), "lightKeyboard"));
  EXPECT_NE(stored(dock, "_backgroundColor"), lighterBgColor);

  // Leaving the screen takes the keyboard down.
  app_->show_inbox();
  EXPECT_EQ(msg<id>(objc_getClass("UIKeyboard"), "activeKeyboard"), nil);
}

TEST_F(ThemedScreens, DatePickerWheelsAndTitleFollowTheDarkKeyboard) {
  app_->show_date_picker();
  run_layout_pass();
  id content = find(root(), "UIDatePickerContentView");
  id wheels = msg<id>(content, "pickerView");
  EXPECT_EQ(stored(wheels, "_backgroundColor"), lighterBgColor);
  EXPECT_EQ(stored(msg<id>(content, "titleLabel"), "_textColor"), textColor);
  // The wheels show the rows around the selected one of each component,
  // their plain titles made attributed and given the text colour alone.
  EXPECT_EQ(msg<id>(wheels, "viewForRow:forComponent:", 5L, 0L), nil);
  id attributes = title_attributes(wheels, 1);
  EXPECT_EQ(msg<unsigned long>(attributes, "count"), 1u);
  EXPECT_EQ(msg<id>(attributes, "objectForKey:", NSForegroundColorAttributeName), textColor);
  EXPECT_TRUE(msg<BOOL>(
      msg<id>(msg<id>(msg<id>(wheels, "viewForRow:forComponent:", 1L, 0L), "attributedTitle"),
              "string"),
      "isEqual:", NSSTR("Tomorrow")));
}

TEST_F(ThemedScreens, LinkOpensATintedSafariView) {
  id safari = app_->open_link("https://support.google.com/mail");
  ASSERT_NE(safari, nil);
  EXPECT_EQ(msg<id>(safari, "preferredControlTintColor"), textColor);
  EXPECT_EQ(msg<id>(safari, "preferredBarTintColor"), lighterBgColor);
  // Its bars take the bar tint, which the view background rule passes on.
  id top_bar = ns::array_items(msg<id>(msg<id>(safari, "view"), "subviews")).front();
  EXPECT_EQ(stored(top_bar, "_backgroundColor"), lighterBgColor);
  // A text that is no web address opens nothing and leaves the screen.
  EXPECT_EQ(app_->open_link("mailto:someone@example.com"), nil);
  EXPECT_EQ(msg<id>(app_->window(), "rootViewController"), safari);
}

TEST_F(ThemedScreens, WithTheThemeOffTheAppKeepsItsOwnColors) {
  settings.enabled = 0;
  app_->show_inbox();
  run_layout_pass();
  EXPECT_EQ(msg<id>(msg<id>(app_->status_bar(), "timeView"), "textColor"),
            msg<id>(objc_getClass("UIColor"), "blackColor"));
  EXPECT_EQ(msg<id>(find(root(), "GBTNavigationBar"), "barTintColor"), white());
  EXPECT_TRUE(
      ns::array_items(msg<id>(find(root(), "GBTOpenSearchBarGradientView"), "subviews")).empty());
  EXPECT_EQ(stored(find(root(), "MDCFloatingButton"), "_backgroundColor"), white());

  EXPECT_TRUE(msg<BOOL>(msg<id>(find(root(), "ThreadCellFrontView"), "backgroundImage"),
                        "isKindOfClass:", objc_getClass("_UIResizableImage")));

  app_->show_thread("Lunch on Friday?");
  run_layout_pass();
  id text = msg<id>(find(root(), "ThreadSubjectView"), "subjectTextView");
  EXPECT_EQ(stored(text, "_textColor"), msg<id>(objc_getClass("UIColor"), "blackColor"));

  app_->show_date_picker();
  run_layout_pass();
  id wheels = msg<id>(find(root(), "UIDatePickerContentView"), "pickerView");
  EXPECT_EQ(msg<unsigned long>(title_attributes(wheels, 0), "count"), 0u);
  app_->show_passcode();
  run_layout_pass();
  EXPECT_EQ(color_text(stored(find(root(), "DevicePINKeypad"), "_backgroundColor")), "#F7FF00");
}

}  // namespace
}  // namespace tenebra
