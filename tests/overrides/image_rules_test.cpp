// The after-call image rules: the thread-cell backgrounds and the side
// panel's highlighted icon. The decision as a table, its wiring on the
// images the decision turns down, then the rules through the runtime, each
// with the theme on and off.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/palette.h"
#include "core/settings.h"
#include "hosts/gmail/thread_cells.h"
#include "overrides/system/app_image.h"
#include "overrides/system/thread_cell_background.h"
#include "platform/coregraphics/cg_image.h"
#include "platform/coregraphics/geometry.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"
#include "toolkit/color/platform_color.h"
#include "toolkit/image/bitmap_drawing.h"
#include "tools/support/themed_process.h"

namespace tenebra {
namespace {

using objc::msg;
using objc::Ref;

struct FakeImage {
  bool is_present = true;
  double width = 0, height = 0;
  mutable int sizes_asked = 0;
  bool present() const { return is_present; }
  AppImageSize size() const {
    ++sizes_asked;
    return {width, height};
  }
};

TEST(AppImageChoice, OnlyAnImageWithAnAreaIsReplacedWhileTheThemeIsOn) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Row {
    bool enabled, present;
    double width, height;
    bool replaced;
  };
  for (const Row& row : {Row{true, true, 320, 88, true}, Row{true, true, 0.5, 0.5, true},
                         Row{false, true, 320, 88, false}, Row{true, false, 320, 88, false},
                         Row{true, true, 0, 88, false}, Row{true, true, 320, 0, false},
                         Row{true, true, -1, 88, false}, Row{true, true, nan, 88, false},
                         Row{true, true, 320, inf, false}}) {
    const FakeImage image{row.present, row.width, row.height};
    EXPECT_EQ(replaces_app_image(image, row.enabled), row.replaced)
        << row.enabled << row.present << " " << row.width << "x" << row.height;
    // The size is asked only when it can decide.
    EXPECT_EQ(image.sizes_asked, row.enabled && row.present ? 1 : 0);
  }
}

std::string text_of(id color) {
  const auto value = toolkit::color_of(color);
  return value ? std::string(toolkit::color_text(*value).view()) : "nil";
}
std::string average_text(id image) {
  return text_of(msg<id>(objc_getClass("UIColor"), "averageColorForImage:", image));
}
// A pixel of an image, by its position in points (at scale 2).
toolkit::PremultipliedPixel pixel(id image, int x, int y) {
  CGImageRef pixels = msg<CGImageRef>(image, "CGImage");
  const auto bitmap = toolkit::draw_into_bitmap(
      image, CGImageGetWidth(pixels), CGImageGetHeight(pixels), toolkit::DrawBlend::kCopy);
  return bitmap->pixel(static_cast<std::uint64_t>(2 * x), static_cast<std::uint64_t>(2 * y));
}

class ImageRules : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::bring_up_theme(); }
  void TearDown() override { settings = default_settings(); }
  ns::AutoreleasePool pool_;
};

TEST_F(ImageRules, ImagesTheDecisionTurnsDownAreTheAppsOwn) {
  int made = 0;
  const auto make = [&](AppImageSize) {
    ++made;
    return id{nil};
  };
  Ref empty = Ref::adopt(msg<id>(objc_getClass("UIImage"), "new"));
  EXPECT_EQ(msg<CGSize>(empty, "size"), CGSizeMake(0, 0));
  EXPECT_EQ(themed_app_image(empty, true, make), empty.get());
  EXPECT_EQ(themed_app_image(nil, true, make), nil);
  EXPECT_EQ(made, 0);
  // Where the theme makes no image of an image's size, the app's stands.
  id icon = msg<id>(objc_getClass("UIColor"), "imageWithColor:andBounds:", textColor,
                    CGRectMake(0, 0, 4, 4));
  EXPECT_EQ(themed_app_image(icon, true, make), icon);
  EXPECT_EQ(made, 1);
}

TEST_F(ImageRules, ThreadCellBackgroundsArePlainFillsOfTheAppsSize) {
  struct Row {
    const char* selector;
    SavedImplementation<CellBackgroundMaker>& saved;
    const char* themed;
  };
  const Row rows[] = {
      {"backgroundForPosition:backgroundColor:", saved_thread_cell_background, "#000000"},
      {"greySelectedBackgroundForPosition:backgroundColor:",
       saved_thread_cell_grey_selected_background, "#000000"},
      {"highlightedBackgroundForPosition:backgroundColor:",
       saved_thread_cell_highlighted_background, "#1B1B1B"},
  };
  Class face = objc_getClass("ThreadCellFrontView");
  id white = msg<id>(objc_getClass("UIColor"), "whiteColor");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.selector);
    SEL sel = objc::sel(row.selector);
    for (long position : {host::kFirstRow, host::kLastRow}) {
      id app_image = row.saved(reinterpret_cast<id>(face), sel, position, white);
      id themed = msg<id>(face, sel, position, white);
      EXPECT_EQ(msg<CGSize>(themed, "size"), msg<CGSize>(app_image, "size"));
      EXPECT_EQ(average_text(themed), row.themed);
      EXPECT_FALSE(msg<BOOL>(themed, "isKindOfClass:", objc_getClass("_UIResizableImage")));
    }
    settings.enabled = 0;
    id plain = msg<id>(face, sel, host::kOnlyRow, white);
    EXPECT_TRUE(msg<BOOL>(plain, "isKindOfClass:", objc_getClass("_UIResizableImage")));
    EXPECT_NE(average_text(plain), row.themed);
    settings.enabled = 1;
  }
}

TEST_F(ImageRules, HighlightedSidePanelIconIsTintedInTheTextColor) {
  Ref cell = Ref::adopt(msg<id>(objc_getClass("GOOSideViewItemCell"), "new"));
  id icon = msg<id>(cell, "getIconHighlightedImageForItem:", NSSTR("Inbox"));
  EXPECT_EQ(msg<CGSize>(icon, "size"), CGSizeMake(24, 24));
  // The disc takes the text colour; the ground stays clear.
  EXPECT_EQ(pixel(icon, 12, 12), (toolkit::PremultipliedPixel{0xCC, 0xCC, 0xCC, 0xFF}));
  EXPECT_EQ(pixel(icon, 0, 0).alpha, 0);
  // The plain icon is no rule's.
  EXPECT_EQ(pixel(msg<id>(cell, "getIconImageForItem:", NSSTR("Inbox")), 12, 12),
            (toolkit::PremultipliedPixel{95, 99, 104, 0xFF}));

  settings.enabled = 0;
  id own = msg<id>(cell, "getIconHighlightedImageForItem:", NSSTR("Inbox"));
  EXPECT_EQ(pixel(own, 12, 12), (toolkit::PremultipliedPixel{217, 48, 37, 0xFF}));
}

}  // namespace
}  // namespace tenebra
