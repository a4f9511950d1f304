// UIImage and UIImageView. An image holds a pixel image (CGImage, possibly
// none), its scale (pixels per point) and its display orientation; its size
// in points is the pixel size divided by the scale, width and height swapped
// for the orientations turned a quarter. A resizable image is an instance of
// the private subclass _UIResizableImage, with its cap insets. Images are
// made from pixel images, image contexts, PNG files and PNG data.
#pragma once

#include <string>

#include "platform/coregraphics/cg_image.h"
#include "platform/coregraphics/geometry.h"
#include "platform/objc/runtime.h"
#include "platform/objc/type_encoding.h"

struct UIEdgeInsets {
  double top = 0, left = 0, bottom = 0, right = 0;
  friend constexpr bool operator==(const UIEdgeInsets&, const UIEdgeInsets&) = default;
};

// The image's pixels as a PNG file (an autoreleased NSData); nil for nil or
// an image without a pixel image.
id UIImagePNGRepresentation(id image);

namespace ui {

enum ImageOrientation : long {
  kImageOrientationUp = 0,
  kImageOrientationDown = 1,
  kImageOrientationLeft = 2,
  kImageOrientationRight = 3,
  kImageOrientationUpMirrored = 4,
  kImageOrientationDownMirrored = 5,
  kImageOrientationLeftMirrored = 6,
  kImageOrientationRightMirrored = 7,
};

enum RenderingMode : long {
  kRenderingModeAutomatic = 0,
  kRenderingModeAlwaysOriginal = 1,
  kRenderingModeAlwaysTemplate = 2,
};

// Defines UIImage, _UIResizableImage and UIImageView; called once at
// platform start.
void define_image_classes();

// A new autoreleased UIImage of `pixels` (retained) at `scale` and
// `orientation`; nil for a null pixel image or a scale that is not a finite
// number above 0.
id make_image(CGImageRef pixels, double scale, long orientation);

// The pixel image as the orientation shows it: a new pixel image (the
// caller releases it) turned and mirrored so that its first row is the top.
CGImageRef oriented_pixels(CGImageRef pixels, long orientation);

}  // namespace ui

namespace objc {
template <>
struct Encoding<UIEdgeInsets> {
  static std::string value() { return "{UIEdgeInsets=dddd}"; }
};
}  // namespace objc
