#include "platform/uikit/ui_image.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <system_error>
#include <utility>

#include "platform/coregraphics/cg_context.h"
#include "platform/coregraphics/limits.h"
#include "platform/coregraphics/png_codec.h"
#include "platform/device/files.h"
#include "platform/foundation/ns_data.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"
#include "platform/uikit/ui_graphics.h"

namespace {

using objc::msg;
using objc::Ref;

// The largest PNG file read: enough for any image within the pixel budget.
constexpr std::size_t kMaxPngBytes = std::size_t{1} << 28;

// An owned reference to a pixel image, as a member.
class PixelsRef {
 public:
  PixelsRef() = default;
  PixelsRef(const PixelsRef&) = delete;
  PixelsRef& operator=(const PixelsRef&) = delete;
  ~PixelsRef() { CGImageRelease(image_); }
  void reset(CGImageRef image) {
    CGImageRetain(image);
    CGImageRelease(image_);
    image_ = image;
  }
  CGImageRef get() const { return image_; }

 private:
  CGImageRef image_ = nullptr;
};

const objc::Member<PixelsRef> kPixels{"UIImage", "_pixels"};
const objc::Member<double> kScale{"UIImage", "_scale"};
const objc::Member<long> kOrientation{"UIImage", "_orientation"};
const objc::Member<long> kRenderingMode{"UIImage", "_renderingMode"};
const objc::Member<UIEdgeInsets> kCapInsets{"_UIResizableImage", "_capInsets"};
const objc::Member<Ref> kShownImage{"UIImageView", "_image"};

bool turned(long orientation) {
  return orientation == ui::kImageOrientationLeft || orientation == ui::kImageOrientationRight ||
         orientation == ui::kImageOrientationLeftMirrored ||
         orientation == ui::kImageOrientationRightMirrored;
}

// A new image of the receiver's kind sharing its pixels, scale and
// orientation (and cap insets, for a resizable one).
id like(id self, Class cls) {
  id copy = msg<id>(cls, "new");
  kPixels.of(copy).reset(kPixels.of(self).get());
  kScale.of(copy) = kScale.of(self);
  kOrientation.of(copy) = kOrientation.of(self);
  kRenderingMode.of(copy) = kRenderingMode.of(self);
  const Class resizable = objc_getClass("_UIResizableImage");
  if (msg<BOOL>(self, "isKindOfClass:", resizable) &&
      msg<BOOL>(copy, "isKindOfClass:", resizable)) {
    kCapInsets.of(copy) = kCapInsets.of(self);
  }
  return ns::autorelease(copy);
}

id image_init(id self, SEL) {
  kScale.of(self) = 1.0;
  return self;
}

CGSize image_size(id self, SEL) {
  CGImageRef pixels = kPixels.of(self).get();
  const double scale = kScale.of(self);
  const double width = static_cast<double>(CGImageGetWidth(pixels)) / scale;
  const double height = static_cast<double>(CGImageGetHeight(pixels)) / scale;
  return turned(kOrientation.of(self)) ? CGSizeMake(height, width) : CGSizeMake(width, height);
}
double image_scale(id self, SEL) { return kScale.of(self); }
long image_orientation(id self, SEL) { return kOrientation.of(self); }
CGImageRef image_cg_image(id self, SEL) { return kPixels.of(self).get(); }
long image_rendering_mode(id self, SEL) { return kRenderingMode.of(self); }
id image_copy(id self, SEL, void*) { return Ref::retain(self).leak(); }

id image_with_rendering_mode(id self, SEL, long mode) {
  id copy = like(self, object_getClass(self));
  kRenderingMode.of(copy) = mode;
  return copy;
}

// Draws the picture upright in `rect` of the current context, whatever the
// context's flip, in the image's display orientation, with normal blending.
void image_draw_in_rect(id self, SEL, CGRect rect) {
  CGContextRef context = UIGraphicsGetCurrentContext();
  CGImageRef pixels = kPixels.of(self).get();
  if (context == nullptr || pixels == nullptr) return;
  CGImageRef shown = ui::oriented_pixels(pixels, kOrientation.of(self));
  CGContextSaveGState(context);
  CGContextTranslateCTM(context, rect.origin.x, rect.origin.y + rect.size.height);
  CGContextScaleCTM(context, 1.0, -1.0);
  CGContextDrawImage(context, CGRectMake(0, 0, rect.size.width, rect.size.height), shown);
  CGContextRestoreGState(context);
  CGImageRelease(shown);
}

void image_draw_at_point(id self, SEL cmd, CGPoint point) {
  const CGSize size = image_size(self, cmd);
  image_draw_in_rect(self, cmd, CGRectMake(point.x, point.y, size.width, size.height));
}

id image_resizable_with_cap_insets(id self, SEL, UIEdgeInsets insets) {
  id copy = like(self, objc_getClass("_UIResizableImage"));
  kCapInsets.of(copy) = insets;
  return copy;
}

// The stretchable image of old: the caps are left and top as given, the
// right and bottom caps what remains after one stretched pixel.
id image_stretchable(id self, SEL cmd, long left, long top) {
  const CGSize size = image_size(self, cmd);
  const double right = left > 0 ? std::max(0.0, size.width - static_cast<double>(left) - 1) : 0;
  const double bottom = top > 0 ? std::max(0.0, size.height - static_cast<double>(top) - 1) : 0;
  return image_resizable_with_cap_insets(
      self, cmd, {static_cast<double>(top), static_cast<double>(left), bottom, right});
}

UIEdgeInsets image_cap_insets(id self, SEL) {
  return msg<BOOL>(self, "isKindOfClass:", objc_getClass("_UIResizableImage")) ? kCapInsets.of(self)
                                                                               : UIEdgeInsets{};
}
long image_left_cap_width(id self, SEL cmd) {
  return static_cast<long>(image_cap_insets(self, cmd).left);
}
long image_top_cap_height(id self, SEL cmd) {
  return static_cast<long>(image_cap_insets(self, cmd).top);
}

std::string point_text(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

id image_description(id self, SEL cmd) {
  const CGSize size = image_size(self, cmd);
  std::string text = std::string("<") + object_getClassName(self) + " ";
  if (kPixels.of(self).get() == nullptr) return ns::string(text + "no pixels>");
  text += point_text(size.width) + "x" + point_text(size.height) + " @" +
          point_text(kScale.of(self)) + "x";
  if (kRenderingMode.of(self) == ui::kRenderingModeAlwaysTemplate) text += " template";
  return ns::string(text + ">");
}

id image_from_png(std::string_view bytes) {
  CGImageRef pixels =
      cg::decode_png({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
  id image = ui::make_image(pixels, 1.0, ui::kImageOrientationUp);
  CGImageRelease(pixels);
  return image;
}

// A file named name@2x.png or name@3x.png carries its scale in its name.
double scale_from_path(std::string_view path) {
  if (path.ends_with("@2x.png")) return 2.0;
  if (path.ends_with("@3x.png")) return 3.0;
  return 1.0;
}

id image_with_contents_of_file(id, SEL, id path) {
  if (path == nil) return nil;
  const std::string device_path = ns::utf8(path);
  std::error_code error;
  const auto bytes = device::read_file(device_path, error, kMaxPngBytes);
  if (!bytes) return nil;
  id image = image_from_png(*bytes);
  if (image != nil) kScale.of(image) = scale_from_path(device_path);
  return image;
}

id image_with_data(id, SEL, id data) {
  return data == nil ? nil : image_from_png(ns::data_bytes(data));
}

id image_with_cg_image_scale(id, SEL, CGImageRef pixels, double scale, long orientation) {
  return ui::make_image(pixels, scale, orientation);
}

id image_with_cg_image(id self, SEL cmd, CGImageRef pixels) {
  return image_with_cg_image_scale(self, cmd, pixels, 1.0, ui::kImageOrientationUp);
}

id image_view_init_with_image(id self, SEL, id image) {
  CGSize size = msg<CGSize>(image, "size");
  self = msg<id>(self, "initWithFrame:", CGRectMake(0, 0, size.width, size.height));
  kShownImage.of(self) = Ref::retain(image);
  return self;
}
id image_view_image(id self, SEL) { return kShownImage.of(self); }
void image_view_set_image(id self, SEL, id image) { kShownImage.of(self) = Ref::retain(image); }

}  // namespace

id UIImagePNGRepresentation(id image) {
  const auto file = cg::encode_png(msg<CGImageRef>(image, "CGImage"));
  if (!file) return nil;
  return ns::data({reinterpret_cast<const char*>(file->data()), file->size()});
}

namespace ui {

void define_image_classes() {
  objc::ClassDefinition("UIImage", objc_getClass("NSObject"))
      .member<PixelsRef>("_pixels")
      .member<double>("_scale")
      .member<long>("_orientation")
      .member<long>("_renderingMode")
      .method("init", image_init)
      .method("size", image_size)
      .method("scale", image_scale)
      .method("imageOrientation", image_orientation)
      .method("CGImage", image_cg_image)
      .method("renderingMode", image_rendering_mode)
      .method("imageWithRenderingMode:", image_with_rendering_mode)
      .method("drawInRect:", image_draw_in_rect)
      .method("drawAtPoint:", image_draw_at_point)
      .method("resizableImageWithCapInsets:", image_resizable_with_cap_insets)
      .method("stretchableImageWithLeftCapWidth:topCapHeight:", image_stretchable)
      .method("capInsets", image_cap_insets)
      .method("leftCapWidth", image_left_cap_width)
      .method("topCapHeight", image_top_cap_height)
      .method("description", image_description)
      .method("copyWithZone:", image_copy)
      .class_method("imageWithContentsOfFile:", image_with_contents_of_file)
      .class_method("imageWithData:", image_with_data)
      .class_method("imageWithCGImage:", image_with_cg_image)
      .class_method("imageWithCGImage:scale:orientation:", image_with_cg_image_scale)
      .finish();
  objc::ClassDefinition("_UIResizableImage", objc_getClass("UIImage"))
      .member<UIEdgeInsets>("_capInsets")
      .finish();
  objc::ClassDefinition("UIImageView", objc_getClass("UIView"))
      .member<Ref>("_image")
      .method("initWithImage:", image_view_init_with_image)
      .method("image", image_view_image)
      .method("setImage:", image_view_set_image)
      .finish();
}

id make_image(CGImageRef pixels, double scale, long orientation) {
  if (pixels == nullptr || !std::isfinite(scale) || !(scale > 0)) return nil;
  id image = msg<id>(objc_getClass("UIImage"), "new");
  kPixels.of(image).reset(pixels);
  kScale.of(image) = scale;
  kOrientation.of(image) = orientation;
  return ns::autorelease(image);
}

CGImageRef oriented_pixels(CGImageRef pixels, long orientation) {
  if (pixels == nullptr) return nullptr;
  if (orientation == kImageOrientationUp) return CGImageRetain(pixels);
  const std::size_t w = pixels->width, h = pixels->height;
  const bool quarter = turned(orientation);
  const std::size_t out_w = quarter ? h : w, out_h = quarter ? w : h;
  const std::size_t bytes = static_cast<std::size_t>(pixels->format.bytes_per_pixel);
  std::vector<std::uint8_t> out(out_w * out_h * bytes);
  const cg::PixelPlane source = cg::plane_of(*pixels);
  for (std::size_t y = 0; y < out_h; ++y) {
    for (std::size_t x = 0; x < out_w; ++x) {
      // The stored pixel shown at (x, y).
      std::pair<std::size_t, std::size_t> from;
      switch (orientation) {
        case kImageOrientationDown:
          from = {w - 1 - x, h - 1 - y};
          break;
        case kImageOrientationUpMirrored:
          from = {w - 1 - x, y};
          break;
        case kImageOrientationDownMirrored:
          from = {x, h - 1 - y};
          break;
        case kImageOrientationLeft:
          from = {w - 1 - y, x};
          break;
        case kImageOrientationRight:
          from = {y, h - 1 - x};
          break;
        case kImageOrientationLeftMirrored:
          from = {w - 1 - y, h - 1 - x};
          break;
        case kImageOrientationRightMirrored:
          from = {y, x};
          break;
        default:
          from = {x, y};
          break;
      }
      const std::uint8_t* at = source.at(from.first, from.second);
      std::copy(at, at + bytes, out.data() + (y * out_w + x) * bytes);
    }
  }
  return cg::make_image(pixels->format, out_w, out_h, out_w * bytes, std::move(out));
}

}  // namespace ui
