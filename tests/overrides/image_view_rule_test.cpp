// The image-view rule wired into the runtime: what image views of the host
// app show, and in which tint, when the app gives them its images.
#include <gtest/gtest.h>

#include <array>

#include "core/palette.h"
#include "core/settings.h"
#include "hosts/gmail/host_images.h"
#include "platform/coregraphics/cg_image.h"
#include "platform/coregraphics/geometry.h"
#include "platform/foundation/ns_object.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"
#include "platform/uikit/ui_color.h"
#include "tools/support/themed_process.h"

namespace tenebra {
namespace {

using objc::msg;
using objc::Ref;

class ImageViewRule : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::bring_up_theme(); }
  void TearDown() override { settings = default_settings(); }

  // A new image view inside the tree of a controller of the class.
  id image_view(const char* controller_class = "UIViewController") {
    controller_ = Ref::adopt(msg<id>(objc_getClass(controller_class), "new"));
    id view = msg<id>(objc_getClass("UIImageView"), "new");
    msg<void>(msg<id>(controller_, "view"), "addSubview:", view);
    msg<void>(view, "release");
    return view;
  }
  static id shown(id view, id image) {
    msg<void>(view, "setImage:", image);
    return msg<id>(view, "image");
  }
  // The first pixel's bytes of an image, as R, G, B, A.
  static std::array<std::uint8_t, 4> first_pixel(id image) {
    CGImageRef pixels = msg<CGImageRef>(image, "CGImage");
    const auto p = cg::load(pixels->format, pixels->bytes.data());
    return {cg::round_channel(p.red), cg::round_channel(p.green), cg::round_channel(p.blue),
            cg::round_channel(p.alpha)};
  }

  ns::AutoreleasePool pool_;
  Ref controller_;
};

TEST_F(ImageViewRule, IconsBecomeTemplatesInThePaletteAndKeepTheTint) {
  id view = image_view();
  id icon = host::icon_image(24);
  id result = shown(view, icon);
  EXPECT_NE(result, icon);
  EXPECT_EQ(msg<long>(result, "renderingMode"), 2);
  EXPECT_EQ(msg<CGImageRef>(result, "CGImage"), msg<CGImageRef>(icon, "CGImage"));
  EXPECT_EQ(msg<id>(view, "tintColor"), textColor);
  // A later image that passes unchanged leaves the tint as it was.
  id photo = host::photo_image(24, 24);
  EXPECT_EQ(shown(view, photo), photo);
  EXPECT_EQ(msg<id>(view, "tintColor"), textColor);
}

TEST_F(ImageViewRule, AvatarPlaceholdersAndSeparatorsBecomePlainBackground) {
  id view = image_view();
  for (id image :
       {host::icon_image(44), host::stretchable_image(17, 1), host::stretchable_image(16.5, 0.5)}) {
    id result = shown(view, image);
    ASSERT_NE(result, image);
    EXPECT_EQ(msg<CGSize>(result, "size"), msg<CGSize>(image, "size"));
    EXPECT_EQ(first_pixel(result), (std::array<std::uint8_t, 4>{0, 0, 0, 255}));
  }
  // Stretchable 17 by 17: a template in the raised surface colour.
  id background = shown(view, host::stretchable_image(17, 17));
  EXPECT_EQ(msg<long>(background, "renderingMode"), 2);
  EXPECT_EQ(msg<id>(view, "tintColor"), lighterBgColor);
}

TEST_F(ImageViewRule, ThreadIconsAreTintedOnlyInTheThreadScreen) {
  id icon = host::icon_image(40);
  id elsewhere = image_view();
  EXPECT_EQ(shown(elsewhere, icon), icon);
  id thread = image_view("ThreadViewController");
  EXPECT_EQ(msg<long>(shown(thread, icon), "renderingMode"), 2);
  EXPECT_EQ(msg<id>(thread, "tintColor"), lighterBgColor);
}

TEST_F(ImageViewRule, PhotosAbsentImagesAndTheThemeOffPassUnchanged) {
  id view = image_view();
  id photo = host::photo_image(44, 44);
  EXPECT_FALSE(msg<BOOL>(photo, "hasAlpha"));
  EXPECT_EQ(shown(view, photo), photo);
  EXPECT_EQ(shown(view, nil), nil);
  EXPECT_EQ(msg<id>(view, "tintColor"), msg<id>(msg<id>(controller_, "view"), "tintColor"));
  settings.enabled = 0;
  id icon = host::icon_image(24);
  EXPECT_EQ(shown(view, icon), icon);
  EXPECT_EQ(msg<id>(view, "tintColor"), msg<id>(msg<id>(controller_, "view"), "tintColor"));
}

}  // namespace
}  // namespace tenebra
