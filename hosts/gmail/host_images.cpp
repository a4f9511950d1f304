#include "hosts/gmail/host_images.h"

#include <cmath>

#include "platform/coregraphics/geometry.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"
#include "platform/uikit/ui_graphics.h"

namespace host {
namespace {

using objc::msg;

id color(double r, double g, double b, double a) {
  return msg<id>(objc_getClass("UIColor"), "colorWithRed:green:blue:alpha:", r, g, b, a);
}

}  // namespace

id icon_image(double side, id fill) {
  UIGraphicsBeginImageContextWithOptions(CGSizeMake(side, side), NO, 0.0);
  msg<void>(fill != nil ? fill : color(0, 0, 0, 1), "setFill");
  // A disc, as rows of rectangles a point tall.
  const double radius = side / 2;
  for (double y = 0; y < side; y += 1) {
    const double dy = y + 0.5 - radius;
    const double half = dy * dy < radius * radius ? std::sqrt(radius * radius - dy * dy) : 0;
    UIRectFill(CGRectMake(radius - half, y, 2 * half, 1));
  }
  id image = UIGraphicsGetImageFromCurrentImageContext();
  UIGraphicsEndImageContext();
  return image;
}

id photo_image(double width, double height) {
  UIGraphicsBeginImageContextWithOptions(CGSizeMake(width, height), YES, 0.0);
  for (double y = 0; y < height; y += 1) {
    msg<void>(color(0.9, 0.5 + 0.4 * y / height, 0.3, 1), "setFill");
    UIRectFill(CGRectMake(0, y, width, 1));
  }
  id image = UIGraphicsGetImageFromCurrentImageContext();
  UIGraphicsEndImageContext();
  return image;
}

id stretchable_image(double width, double height) {
  UIGraphicsBeginImageContextWithOptions(CGSizeMake(width, height), NO, 0.0);
  msg<void>(color(0.93, 0.93, 0.93, 1), "setFill");
  UIRectFill(CGRectMake(0, 0, width, height));
  id image = UIGraphicsGetImageFromCurrentImageContext();
  UIGraphicsEndImageContext();
  return msg<id>(image, "stretchableImageWithLeftCapWidth:topCapHeight:", 8L, 0L);
}

void add_image_views(id parent) {
  const id images[] = {icon_image(24),           icon_image(44),      icon_image(40),
                       icon_image(16.5),         photo_image(40, 40), stretchable_image(17, 1),
                       stretchable_image(17, 17)};
  double x = 8;
  for (id image : images) {
    objc::Ref view = objc::Ref::adopt(msg<id>(objc_getClass("UIImageView"), "new"));
    const CGSize size = msg<CGSize>(image, "size");
    msg<void>(view, "setFrame:", CGRectMake(x, 760, size.width, size.height));
    msg<void>(view, "setImage:", image);
    msg<void>(parent, "addSubview:", view.get());
    x += size.width + 8;
  }
}

}  // namespace host
