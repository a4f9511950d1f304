// UIKit's image side: the image-context stack and its pixel sizes, UIRectFill,
// images' sizes, orientations and rendering modes, resizable images, PNG data,
// the main screen's scale, and what bad sizes and unbalanced ends give.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "platform/coregraphics/cg_image.h"
#include "platform/foundation/ns_data.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"
#include "platform/uikit/ui_graphics.h"
#include "platform/uikit/ui_image.h"
#include "platform/uikit/ui_screen.h"

namespace {

using objc::msg;
using Pixel = std::array<std::uint8_t, 4>;

id color(double r, double g, double b, double a) {
  return msg<id>(objc_getClass("UIColor"), "colorWithRed:green:blue:alpha:", r, g, b, a);
}

// The pixel of an image's pixel image, read as R, G, B, A.
Pixel pixel_of(id image, std::size_t x, std::size_t y) {
  CGImageRef pixels = msg<CGImageRef>(image, "CGImage");
  const auto p = cg::load(pixels->format, cg::plane_of(*pixels).at(x, y));
  return {cg::round_channel(p.red), cg::round_channel(p.green), cg::round_channel(p.blue),
          cg::round_channel(p.alpha)};
}

// An image of `size` points at `scale`, filled with `fill` by UIRectFill.
id filled(CGSize size, double scale, id fill, CGRect rect) {
  UIGraphicsBeginImageContextWithOptions(size, NO, scale);
  msg<void>(fill, "setFill");
  UIRectFill(rect);
  id image = UIGraphicsGetImageFromCurrentImageContext();
  UIGraphicsEndImageContext();
  return image;
}

TEST(ImageContext, PixelSizesFollowTheScaleAndRoundUp) {
  ns::AutoreleasePool pool;
  struct Row {
    CGSize points;
    double scale;
    std::size_t width, height;
    double screen = 2.0;
  };
  const Row rows[] = {
      {{320, 88}, 0.0, 640, 176}, {{320, 88}, 1.0, 320, 88}, {{24, 24}, 0.0, 72, 72, 3.0},
      {{16.5, 0.4}, 2.0, 33, 1},  {{0.2, 0.2}, 1.0, 1, 1},   {{10, 10}, 3.0, 30, 30},
  };
  for (const Row& row : rows) {
    ui::set_main_screen_scale(row.screen);
    id image = filled(row.points, row.scale, color(0, 0, 0, 1), CGRectMake(0, 0, 1, 1));
    ASSERT_NE(image, nil);
    CGImageRef pixels = msg<CGImageRef>(image, "CGImage");
    EXPECT_EQ(CGImageGetWidth(pixels), row.width);
    EXPECT_EQ(CGImageGetHeight(pixels), row.height);
    EXPECT_EQ(msg<double>(image, "scale"), row.scale == 0.0 ? row.screen : row.scale);
  }
  ui::set_main_screen_scale(2.0);
  EXPECT_EQ(msg<double>(msg<id>(objc_getClass("UIScreen"), "mainScreen"), "scale"), 2.0);
}

TEST(ImageContext, RectFillCopiesTheColorTopDownInPoints) {
  ns::AutoreleasePool pool;
  // Half alpha is stored premultiplied and not blended with anything.
  id half = filled({20, 20}, 2.0, color(1, 0, 0, 0.5), CGRectMake(10, 0, 20, 20));
  EXPECT_EQ(msg<CGSize>(half, "size"), CGSizeMake(20, 20));
  EXPECT_EQ(pixel_of(half, 19, 5), (Pixel{0, 0, 0, 0}));
  EXPECT_EQ(pixel_of(half, 20, 5), (Pixel{128, 0, 0, 128}));
  EXPECT_EQ(ns::utf8(msg<id>(half, "description")), "<UIImage 20x20 @2x>");
  // y grows downwards: a fill of the top point row lands in pixel rows 0-1.
  id top = filled({4, 4}, 2.0, color(0, 0, 1, 1), CGRectMake(0, 0, 4, 1));
  EXPECT_EQ(pixel_of(top, 0, 1), (Pixel{0, 0, 255, 255}));
  EXPECT_EQ(pixel_of(top, 0, 2), (Pixel{0, 0, 0, 0}));
}

TEST(ImageContext, BadSizesAndUnbalancedEndsAreHarmless) {
  ns::AutoreleasePool pool;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  UIGraphicsBeginImageContext({4, 4});
  CGContextRef outer = UIGraphicsGetCurrentContext();
  ASSERT_NE(outer, nullptr);
  for (CGSize bad :
       {CGSize{0, 4}, CGSize{-1, 4}, CGSize{nan, 4}, CGSize{4, inf}, CGSize{1e9, 1e9}}) {
    UIGraphicsBeginImageContextWithOptions(bad, NO, 0.0);
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
    EXPECT_EQ(UIGraphicsGetImageFromCurrentImageContext(), nil);
    UIRectFill(CGRectMake(0, 0, 1, 1));
    UIGraphicsEndImageContext();
    EXPECT_EQ(UIGraphicsGetCurrentContext(), outer);
  }
  UIGraphicsBeginImageContextWithOptions({4, 4}, NO, nan);
  EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
  UIGraphicsEndImageContext();
  UIGraphicsEndImageContext();
  UIGraphicsEndImageContext();  // ended twice: nothing left to end
  EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
  EXPECT_EQ(UIGraphicsGetImageFromCurrentImageContext(), nil);
}

TEST(Images, DrawInRectHonoursTheOrientation) {
  ns::AutoreleasePool pool;
  // A 2 by 1 pixel image, red on the left.
  id source = filled({2, 1}, 1.0, color(1, 0, 0, 1), CGRectMake(0, 0, 1, 1));
  CGImageRef pixels = msg<CGImageRef>(source, "CGImage");
  struct Row {
    long orientation;
    CGSize size;
    std::size_t x, y;  // where red is shown
  };
  const Row rows[] = {{ui::kImageOrientationUp, {2, 1}, 0, 0},
                      {ui::kImageOrientationDown, {2, 1}, 1, 0},
                      {ui::kImageOrientationUpMirrored, {2, 1}, 1, 0},
                      {ui::kImageOrientationLeft, {1, 2}, 0, 1},
                      {ui::kImageOrientationRight, {1, 2}, 0, 0}};
  for (const Row& row : rows) {
    id image = msg<id>(objc_getClass("UIImage"), "imageWithCGImage:scale:orientation:", pixels, 1.0,
                       row.orientation);
    ASSERT_EQ(msg<CGSize>(image, "size"), row.size) << row.orientation;
    UIGraphicsBeginImageContextWithOptions(row.size, NO, 1.0);
    msg<void>(image, "drawInRect:", CGRectMake(0, 0, row.size.width, row.size.height));
    id drawn = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_EQ(pixel_of(drawn, row.x, row.y), (Pixel{255, 0, 0, 255})) << row.orientation;
  }
}

TEST(Images, ResizableAndTemplateImagesKeepTheirPixels) {
  ns::AutoreleasePool pool;
  id image = filled({17, 17}, 2.0, color(0, 0, 0, 1), CGRectMake(0, 0, 17, 17));
  id stretchable = msg<id>(image, "stretchableImageWithLeftCapWidth:topCapHeight:", 8L, 8L);
  id resizable = msg<id>(image, "resizableImageWithCapInsets:", UIEdgeInsets{1, 2, 3, 4});
  const Class cls = objc_getClass("_UIResizableImage");
  EXPECT_TRUE(msg<BOOL>(stretchable, "isKindOfClass:", cls));
  EXPECT_FALSE(msg<BOOL>(image, "isKindOfClass:", cls));
  EXPECT_EQ(msg<UIEdgeInsets>(stretchable, "capInsets"), (UIEdgeInsets{8, 8, 8, 8}));
  EXPECT_EQ(msg<long>(stretchable, "leftCapWidth"), 8);
  EXPECT_EQ(msg<UIEdgeInsets>(resizable, "capInsets"), (UIEdgeInsets{1, 2, 3, 4}));
  id template_image = msg<id>(resizable, "imageWithRenderingMode:", 2L);
  EXPECT_TRUE(msg<BOOL>(template_image, "isKindOfClass:", cls));
  EXPECT_EQ(msg<long>(template_image, "renderingMode"), 2);
  EXPECT_EQ(msg<CGImageRef>(template_image, "CGImage"), msg<CGImageRef>(image, "CGImage"));
  EXPECT_EQ(msg<CGSize>(template_image, "size"), CGSizeMake(17, 17));
}

TEST(Images, PngDataRoundTripsAndBadDataGivesNil) {
  ns::AutoreleasePool pool;
  id image = filled({3, 2}, 1.0, color(0.2, 0.4, 0.6, 0.8), CGRectMake(0, 0, 2, 2));
  id data = UIImagePNGRepresentation(image);
  ASSERT_NE(data, nil);
  id back = msg<id>(objc_getClass("UIImage"), "imageWithData:", data);
  ASSERT_NE(back, nil);
  for (std::size_t x = 0; x < 3; ++x) EXPECT_EQ(pixel_of(back, x, 1), pixel_of(image, x, 1)) << x;
  EXPECT_EQ(msg<id>(objc_getClass("UIImage"), "imageWithData:", ns::data("not a png")), nil);
  EXPECT_EQ(msg<id>(objc_getClass("UIImage"), "imageWithData:", nil), nil);
  EXPECT_EQ(
      msg<id>(objc_getClass("UIImage"), "imageWithContentsOfFile:", ns::string("/nowhere.png")),
      nil);
  EXPECT_EQ(UIImagePNGRepresentation(nil), nil);
  EXPECT_EQ(UIImagePNGRepresentation(ns::autorelease(msg<id>(objc_getClass("UIImage"), "new"))),
            nil);
}

}  // namespace
