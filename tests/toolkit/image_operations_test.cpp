// The image operations of the two categories, through the runtime: plain
// images, average colour, the light and all-white tests with their log, the
// alpha test, tinting and scaling. Pixels are checked with known answers and,
// for the tint, against the Part's pixel formula with no tolerance.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "platform/coregraphics/cg_color_space.h"
#include "platform/coregraphics/cg_context.h"
#include "platform/coregraphics/pixel_format.h"
#include "platform/foundation/ns_log.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"
#include "platform/uikit/ui_color.h"
#include "platform/uikit/ui_graphics.h"
#include "platform/uikit/ui_image.h"
#include "platform/uikit/ui_screen.h"
#include "toolkit/color/ui_color_kestrow.h"
#include "toolkit/image/bitmap_drawing.h"
#include "toolkit/image/ui_color_images.h"
#include "toolkit/image/ui_image_color.h"

namespace {

using objc::msg;
using toolkit::PremultipliedPixel;

class ImageOperations : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    toolkit::register_color_category();
    toolkit::register_color_image_category();
    toolkit::register_image_category();
  }
  void SetUp() override { ui::set_main_screen_scale(2.0); }
  void TearDown() override { ui::set_main_screen_scale(2.0); }

  static Class color_class() { return objc_getClass("UIColor"); }
  static id rgba(double r, double g, double b, double a) {
    return msg<id>(color_class(), "colorWithRed:green:blue:alpha:", r, g, b, a);
  }
  static id hex(const char* text) {
    return msg<id>(color_class(), "km_UIColorFromHex:", ns::string(text));
  }
  static id plain(id color, CGRect bounds) {
    return msg<id>(color_class(), "imageWithColor:andBounds:", color, bounds);
  }
  // An image of `w` by `h` pixels at scale 1 from RGBA premultiplied pixels.
  static id image_of(std::size_t w, std::size_t h, const std::vector<PremultipliedPixel>& pixels) {
    std::vector<std::uint8_t> bytes;
    for (const auto& p : pixels) bytes.insert(bytes.end(), {p.red, p.green, p.blue, p.alpha});
    CGContextRef context =
        CGBitmapContextCreate(bytes.data(), w, h, 8, w * 4, CGColorSpaceCreateDeviceRGB(), 0x4001);
    CGImageRef pixel_image = CGBitmapContextCreateImage(context);
    id image = msg<id>(objc_getClass("UIImage"), "imageWithCGImage:", pixel_image);
    CGImageRelease(pixel_image);
    CGContextRelease(context);
    return image;
  }
  // Every pixel of an image in R, G, B, A order, pixel for pixel.
  static toolkit::Bitmap pixels(id image) {
    CGImageRef pixel_image = msg<CGImageRef>(image, "CGImage");
    return *toolkit::draw_into_bitmap(image, CGImageGetWidth(pixel_image),
                                      CGImageGetHeight(pixel_image), toolkit::DrawBlend::kCopy);
  }

  ns::AutoreleasePool pool_;
};

TEST_F(ImageOperations, PlainImagesTakeTheColorExactly) {
  // bgColor over 320 by 88 points: 640 by 176 opaque black pixels at scale 2.
  id black = plain(hex("#000000"), CGRectMake(0, 0, 320, 88));
  EXPECT_EQ(msg<CGSize>(black, "size"), CGSizeMake(320, 88));
  toolkit::Bitmap all = pixels(black);
  ASSERT_EQ(all.width(), 640u);
  ASSERT_EQ(all.height(), 176u);
  for (std::uint64_t i = 0; i < 640 * 176; i += 97) {
    EXPECT_EQ(all.pixel(i % 640, i / 640), (PremultipliedPixel{0, 0, 0, 255}));
  }
  // Half alpha is stored premultiplied, not blended.
  EXPECT_EQ(pixels(plain(rgba(0.8, 0.4, 0, 0.5), CGRectMake(0, 0, 2, 2))).pixel(3, 3),
            (PremultipliedPixel{102, 51, 0, 128}));
  // Another origin fills only the part inside: the right half here.
  toolkit::Bitmap half = pixels(plain(hex("#cccccc"), CGRectMake(10, 0, 20, 20)));
  EXPECT_EQ(half.pixel(19, 10), (PremultipliedPixel{}));
  EXPECT_EQ(half.pixel(20, 10), (PremultipliedPixel{204, 204, 204, 255}));
  // A thumbnail is one pixel per point.
  id thumbnail = msg<id>(hex("#1B1B1B"), "thumbnailWithSize:", CGSizeMake(10, 10));
  EXPECT_EQ(msg<double>(thumbnail, "scale"), 1.0);
  EXPECT_EQ(pixels(thumbnail).pixel(9, 9), (PremultipliedPixel{27, 27, 27, 255}));
  // Sizes that make no image context give no image.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (CGSize bad : {CGSize{0, 10}, CGSize{-5, 10}, CGSize{nan, nan}, CGSize{1e12, 1}}) {
    EXPECT_EQ(plain(hex("#000000"), CGRect{{0, 0}, bad}), nil);
    EXPECT_EQ(msg<id>(hex("#000000"), "thumbnailWithSize:", bad), nil);
  }
}

TEST_F(ImageOperations, AverageColorScalesByAlphaTwice) {
  id grey = msg<id>(color_class(), "averageColorForImage:",
                    image_of(2, 1, {{204, 204, 204, 255}, {204, 204, 204, 255}}));
  auto c = cg::rgb_view(ui::color_value(grey));
  ASSERT_TRUE(c);
  EXPECT_DOUBLE_EQ(c->red, 0.8);
  EXPECT_DOUBLE_EQ(c->alpha, 1.0);
  // Averaged to (128, 0, 0, 128): red 128 × 128 / 255².
  id red = msg<id>(color_class(),
                   "averageColorForImage:", image_of(2, 1, {{255, 0, 0, 255}, {0, 0, 0, 0}}));
  c = cg::rgb_view(ui::color_value(red));
  ASSERT_TRUE(c);
  EXPECT_DOUBLE_EQ(c->red, (128 / 255.0) / 255.0 * 128);
  EXPECT_DOUBLE_EQ(c->alpha, 128 / 255.0);
  id none = msg<id>(color_class(), "averageColorForImage:", nil);
  EXPECT_EQ(ui::color_value(none), cg::ColorComponents::rgb(0, 0, 0, 0));
}

TEST_F(ImageOperations, LightAndWhiteTestsReadStoredPixelsAndLogEachVisit) {
  struct Row {
    const char* name;
    id image;
    bool light, white;
    std::size_t lines;
    const char* last_line_end;
  };
  const PremultipliedPixel white{255, 255, 255, 255}, grey{204, 204, 204, 255};
  const Row rows[] = {
      {"absent", nil, true, true, 0, nullptr},
      {"#cccccc", image_of(2, 2, {grey, grey, grey, grey}), true, false, 4, "HEX:#CCCCCCFF"},
      {"black first", image_of(2, 1, {{0, 0, 0, 255}, white}), false, false, 1, "HEX:#000000FF"},
      {"#767676", image_of(1, 1, {{0x76, 0x76, 0x76, 255}}), false, false, 1, "HEX:#767676FF"},
      {"white", image_of(2, 1, {white, white}), true, true, 2, "HEX:#FFFFFFFF"},
      {"one at 254", image_of(2, 1, {white, {254, 254, 254, 254}}), true, false, 2,
       "HEX:#FEFEFEFE"},
      {"transparent", image_of(1, 1, {{0, 0, 0, 0}}), false, false, 1, "HEX:#00000000"},
  };
  for (const Row& row : rows) {
    ns::LogCapture log;
    EXPECT_EQ(msg<BOOL>(color_class(), "imageIsLightColor:", row.image), row.light) << row.name;
    EXPECT_EQ(msg<BOOL>(color_class(), "imageIsAllWhite:", row.image), row.white) << row.name;
    const auto lines = log.messages();
    ASSERT_EQ(lines.size(), row.lines) << row.name;
    if (row.last_line_end != nullptr) {
      EXPECT_TRUE(lines.back().ends_with(row.last_line_end)) << lines.back();
    }
  }
  ns::LogCapture log;
  msg<BOOL>(color_class(), "imageIsLightColor:", image_of(1, 1, {grey}));
  EXPECT_EQ(log.messages().front(),
            "<UIImage 1x1 @1x> red: 0.800000 green: 0.800000, blue:0.800000 alpha: 1.000000 "
            "HEX:#CCCCCCFF");
}

TEST_F(ImageOperations, HasAlphaFollowsTheAlphaInfo) {
  for (std::uint32_t info = 0; info <= 7; ++info) {
    const auto format =
        cg::PixelFormat::make(info == 7 ? kCGColorSpaceModelUnknown : kCGColorSpaceModelRGB, 8,
                              info == 7   ? 8
                              : info == 0 ? 24
                                          : 32,
                              info);
    ASSERT_TRUE(format.has_value()) << info;
    CGImageRef pixel_image = cg::make_image(*format, 1, 1, 4, std::vector<std::uint8_t>(4, 0));
    id image = msg<id>(objc_getClass("UIImage"), "imageWithCGImage:", pixel_image);
    EXPECT_EQ(msg<BOOL>(image, "hasAlpha"), info >= 1 && info <= 4) << info;
    CGImageRelease(pixel_image);
  }
  EXPECT_FALSE(msg<BOOL>(ns::autorelease(msg<id>(objc_getClass("UIImage"), "new")), "hasAlpha"));
  EXPECT_FALSE(msg<BOOL>(nil, "hasAlpha"));
}

// The tint in pixel terms: the tint painted source-over at alpha t × m,
// m the receiver's alpha, over the receiver drawn upright.
TEST_F(ImageOperations, TintPaintsOverTheVisibleShapeByTheFormula) {
  const PremultipliedPixel pixels_in[] = {{0, 0, 0, 255},     {0, 0, 0, 0},
                                          {100, 50, 0, 128},  {255, 255, 255, 255},
                                          {10, 200, 30, 255}, {0, 0, 0, 1}};
  // At the screen's scale, so the receiver is drawn pixel for pixel.
  id icon = msg<id>(
      objc_getClass("UIImage"), "imageWithCGImage:scale:orientation:",
      msg<CGImageRef>(image_of(3, 2, {std::begin(pixels_in), std::end(pixels_in)}), "CGImage"), 2.0,
      0L);
  for (id tint : {hex("#cccccc"), rgba(1, 0, 0, 0.5), rgba(0.2, 0.4, 0.6, 0.3)}) {
    id tinted = msg<id>(icon, "imageWithTint:", tint);
    EXPECT_EQ(msg<CGSize>(tinted, "size"), CGSizeMake(1.5, 1));
    EXPECT_EQ(msg<double>(tinted, "scale"), 2.0);
    const toolkit::Bitmap out = pixels(tinted);
    const cg::Rgba t = cg::rgb_view(ui::color_value(tint)).value();
    for (std::size_t i = 0; i < 6; ++i) {
      const PremultipliedPixel d = pixels_in[i];
      const double m = d.alpha / 255.0;  // the mask's coverage
      const double tint_alpha = t.alpha * 255.0;
      const double source[4] = {t.red * t.alpha * 255.0, t.green * t.alpha * 255.0,
                                t.blue * t.alpha * 255.0, tint_alpha};
      const std::uint8_t dest[4] = {d.red, d.green, d.blue, d.alpha};
      const PremultipliedPixel got = out.pixel(i % 3, i / 3);
      const std::uint8_t got_bytes[4] = {got.red, got.green, got.blue, got.alpha};
      for (int c = 0; c < 4; ++c) {
        const double expected =
            std::floor(m * source[c] + (1.0 - m * tint_alpha / 255.0) * dest[c] + 0.5);
        EXPECT_EQ(got_bytes[c], expected) << "pixel " << i << " channel " << c;
      }
    }
  }
  // On a screen of scale 3 a 24-point image becomes 72 by 72 pixels.
  ui::set_main_screen_scale(3.0);
  id big = plain(hex("#000000"), CGRectMake(0, 0, 24, 24));  // made at scale 3 too
  id tinted = msg<id>(big, "imageWithTint:", hex("#cccccc"));
  EXPECT_EQ(CGImageGetWidth(msg<CGImageRef>(tinted, "CGImage")), 72u);
  EXPECT_EQ(pixels(tinted).pixel(71, 0), (PremultipliedPixel{204, 204, 204, 255}));
  EXPECT_EQ(msg<id>(nil, "imageWithTint:", hex("#cccccc")), nil);
}

TEST_F(ImageOperations, ScaledCopiesStretchToTheGivenSize) {
  // 40 by 40 points, left half red, right half blue.
  id source = plain(rgba(0, 0, 1, 1), CGRectMake(0, 0, 40, 40));
  UIGraphicsBeginImageContextWithOptions({40, 40}, NO, 2.0);
  msg<void>(source, "drawInRect:", CGRectMake(0, 0, 40, 40));
  msg<void>(rgba(1, 0, 0, 1), "setFill");
  UIRectFill(CGRectMake(0, 0, 20, 40));
  id halves = UIGraphicsGetImageFromCurrentImageContext();
  UIGraphicsEndImageContext();
  id scaled =
      msg<id>(objc_getClass("UIImage"), "imageWithImage:scaledToSize:", halves, CGSizeMake(10, 20));
  EXPECT_EQ(msg<CGSize>(scaled, "size"), CGSizeMake(10, 20));
  const toolkit::Bitmap out = pixels(scaled);
  EXPECT_EQ(out.pixel(0, 39), (PremultipliedPixel{255, 0, 0, 255}));
  EXPECT_EQ(out.pixel(19, 0), (PremultipliedPixel{0, 0, 255, 255}));
  id empty =
      msg<id>(objc_getClass("UIImage"), "imageWithImage:scaledToSize:", nil, CGSizeMake(3, 3));
  EXPECT_EQ(pixels(empty).pixel(5, 5), (PremultipliedPixel{}));
}

}  // namespace
