#include "hosts/gmail/thread_cells.h"

#include "platform/coregraphics/geometry.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"
#include "platform/uikit/ui_graphics.h"

namespace host {
namespace {

using objc::msg;
using objc::Ref;

// The image is one row tall and stretches sideways from its middle.
constexpr double kImageWidth = 16;
constexpr double kImageHeight = 88;
constexpr long kStretchFrom = 7;

const objc::Member<long> kPosition{"ThreadCellFrontView", "_position"};
const objc::Member<BOOL> kRead{"ThreadCellFrontView", "_read"};
const objc::Member<BOOL> kHighlighted{"ThreadCellFrontView", "_highlighted"};
const objc::Member<BOOL> kGreySelected{"ThreadCellFrontView", "_greySelected"};
const objc::Member<Ref> kBackgroundImage{"ThreadCellFrontView", "_backgroundImage"};

id rgba(double r, double g, double b, double a) {
  return msg<id>(objc_getClass("UIColor"), "colorWithRed:green:blue:alpha:", r / 255, g / 255,
                 b / 255, a);
}

// The row's colour (white where none is given), darkened by `shade`, with a
// hairline separator along the bottom of every row but the last.
id row_image(long position, id color, double shade) {
  UIGraphicsBeginImageContextWithOptions(CGSizeMake(kImageWidth, kImageHeight), YES, 0.0);
  msg<void>(color != nil ? color : rgba(255, 255, 255, 1), "setFill");
  UIRectFill(CGRectMake(0, 0, kImageWidth, kImageHeight));
  if (shade > 0) {
    msg<void>(rgba(0, 0, 0, shade), "setFill");
    UIRectFillUsingBlendMode(CGRectMake(0, 0, kImageWidth, kImageHeight), kCGBlendModeNormal);
  }
  if (position == kFirstRow || position == kMiddleRow) {
    msg<void>(rgba(224, 224, 224, 1), "setFill");
    UIRectFill(CGRectMake(0, kImageHeight - 1, kImageWidth, 1));
  }
  id image = UIGraphicsGetImageFromCurrentImageContext();
  UIGraphicsEndImageContext();
  return msg<id>(image, "stretchableImageWithLeftCapWidth:topCapHeight:", kStretchFrom, 0L);
}

id background(id, SEL, long position, id color) { return row_image(position, color, 0); }
id grey_selected_background(id, SEL, long position, id color) {
  return row_image(position, color, 0.06);
}
id highlighted_background(id, SEL, long position, id color) {
  return row_image(position, color, 0.12);
}

// Read threads sit on a pale grey, unread ones on white.
id row_color(id self) { return kRead.of(self) ? rgba(242, 245, 245, 1) : rgba(255, 255, 255, 1); }

void layout_subviews(id self, SEL) {
  const char* selector = kHighlighted.of(self) ? "highlightedBackgroundForPosition:backgroundColor:"
                         : kGreySelected.of(self)
                             ? "greySelectedBackgroundForPosition:backgroundColor:"
                             : "backgroundForPosition:backgroundColor:";
  kBackgroundImage.of(self) =
      Ref::retain(msg<id>(object_getClass(self), selector, kPosition.of(self), row_color(self)));
  msg<void>(self, "setNeedsDisplay");
}

void draw_rect(id self, SEL, CGRect) {
  msg<void>(kBackgroundImage.of(self), "drawInRect:", msg<CGRect>(self, "bounds"));
}

id background_image(id self, SEL) { return kBackgroundImage.of(self); }

// Each change of what the face shows asks for a layout.
template <typename T, const objc::Member<T>& member>
void set_and_lay_out(id self, SEL, T value) {
  member.of(self) = value;
  msg<void>(self, "setNeedsLayout");
}

}  // namespace

void define_thread_cell_front_view() {
  objc::ClassDefinition("ThreadCellFrontView", objc_getClass("UIView"))
      .member<long>("_position")
      .member<BOOL>("_read")
      .member<BOOL>("_highlighted")
      .member<BOOL>("_greySelected")
      .member<Ref>("_backgroundImage")
      .class_method("backgroundForPosition:backgroundColor:", background)
      .class_method("greySelectedBackgroundForPosition:backgroundColor:", grey_selected_background)
      .class_method("highlightedBackgroundForPosition:backgroundColor:", highlighted_background)
      .method("setPosition:", set_and_lay_out<long, kPosition>)
      .method("setRead:", set_and_lay_out<BOOL, kRead>)
      .method("setHighlighted:", set_and_lay_out<BOOL, kHighlighted>)
      .method("setGreySelected:", set_and_lay_out<BOOL, kGreySelected>)
      .method("backgroundImage", background_image)
      .method("layoutSubviews", layout_subviews)
      .method("drawRect:", draw_rect)
      .finish();
}

}  // namespace host
