#include "hosts/gmail/side_panel.h"

#include "hosts/gmail/host_images.h"
#include "platform/coregraphics/geometry.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"

namespace host {
namespace {

using objc::msg;
using objc::Ref;

constexpr double kIconSide = 24;
constexpr double kRowHeight = 48;
constexpr double kPanelWidth = 300;

const objc::Member<Ref> kItem{"GOOSideViewItemCell", "_item"};
const objc::Member<Ref> kIconView{"GOOSideViewItemCell", "_iconView"};
const objc::Member<Ref> kTitleLabel{"GOOSideViewItemCell", "_titleLabel"};

id rgb(double r, double g, double b) {
  return msg<id>(objc_getClass("UIColor"), "colorWithRed:green:blue:alpha:", r / 255, g / 255,
                 b / 255, 1.0);
}

// The icon in its row, then the title.
id cell_init_with_frame(id self, SEL, CGRect frame) {
  self = objc::msg_super<id>(self, objc_getClass("GOOSideViewItemCell"),
                             objc::sel("initWithFrame:"), frame);
  if (self == nil) return nil;
  kIconView.of(self) = Ref::adopt(msg<id>(objc_getClass("UIImageView"), "new"));
  msg<void>(kIconView.of(self),
            "setFrame:", CGRectMake(16, (kRowHeight - kIconSide) / 2, kIconSide, kIconSide));
  kTitleLabel.of(self) = Ref::adopt(msg<id>(objc_getClass("UILabel"), "new"));
  msg<void>(kTitleLabel.of(self), "setFrame:", CGRectMake(72, 0, kPanelWidth - 88, kRowHeight));
  msg<void>(self, "addSubview:", kIconView.of(self).get());
  msg<void>(self, "addSubview:", kTitleLabel.of(self).get());
  return self;
}

// The icon of the cell's state, asked of the cell itself.
void show_icon(id self) {
  id item = kItem.of(self);
  id icon = msg<BOOL>(self, "isSelected") ? msg<id>(self, "getIconHighlightedImageForItem:", item)
                                          : msg<id>(self, "getIconImageForItem:", item);
  msg<void>(kIconView.of(self), "setImage:", icon);
}

id cell_item(id self, SEL) { return kItem.of(self); }
void cell_set_item(id self, SEL, id item) {
  kItem.of(self) = Ref::adopt(msg<id>(item, "copy"));
  msg<void>(kTitleLabel.of(self), "setText:", item);
  show_icon(self);
}
id cell_icon_view(id self, SEL) { return kIconView.of(self); }

// Folder icons are grey, the selected folder's in the app's red.
id icon_for_item(id, SEL, id) { return icon_image(kIconSide, rgb(95, 99, 104)); }
id highlighted_icon_for_item(id, SEL, id) { return icon_image(kIconSide, rgb(217, 48, 37)); }

void cell_set_selected(id self, SEL cmd, BOOL selected) {
  objc::msg_super<void>(self, objc_getClass("GOOSideViewItemCell"), cmd, selected);
  show_icon(self);
}

}  // namespace

void define_side_view_item_cell() {
  objc::ClassDefinition("GOOSideViewItemCell", objc_getClass("UITableViewCell"))
      .member<Ref>("_item")
      .member<Ref>("_iconView")
      .member<Ref>("_titleLabel")
      .method("initWithFrame:", cell_init_with_frame)
      .method("item", cell_item)
      .method("setItem:", cell_set_item)
      .method("iconView", cell_icon_view)
      .method("getIconImageForItem:", icon_for_item)
      .method("getIconHighlightedImageForItem:", highlighted_icon_for_item)
      .method("setSelected:", cell_set_selected)
      .finish();
}

// The panel's background container on white, the list of folders over it.
Ref make_side_panel() {
  Ref panel = Ref::adopt(msg<id>(objc_getClass("UIViewController"), "new"));
  id root = msg<id>(panel, "view");
  msg<void>(root, "setFrame:", CGRectMake(0, 0, kPanelWidth, 812));
  id white = msg<id>(objc_getClass("UIColor"), "whiteColor");
  Class container_class = objc_getClass("GOOSideViewBackgroundContainerView");
  Ref container = Ref::adopt(
      msg<id>(msg<id>(container_class != Nil ? container_class : objc_getClass("UIView"), "alloc"),
              "initWithFrame:", msg<CGRect>(root, "bounds")));
  msg<void>(container, "setBackgroundColor:", white);
  msg<void>(root, "addSubview:", container.get());
  Ref list = Ref::adopt(msg<id>(msg<id>(objc_getClass("UITableView"), "alloc"),
                                "initWithFrame:", CGRectMake(0, 44, kPanelWidth, 768)));
  msg<void>(root, "addSubview:", list.get());

  Class cell_class = objc_getClass("GOOSideViewItemCell");
  const char* folders[] = {"Inbox", "Starred", "Snoozed", "Sent", "Drafts"};
  double y = 0;
  for (const char* folder : folders) {
    Ref cell = Ref::adopt(
        msg<id>(msg<id>(cell_class != Nil ? cell_class : objc_getClass("UITableViewCell"), "alloc"),
                "initWithFrame:", CGRectMake(0, y, kPanelWidth, kRowHeight)));
    if (objc::responds(cell, objc::sel("setItem:")))
      msg<void>(cell, "setItem:", ns::string(folder));
    msg<void>(list, "addSubview:", cell.get());
    y += kRowHeight;
  }
  id first = msg<id>(msg<id>(list, "subviews"), "firstObject");
  msg<void>(first, "setSelected:", YES);
  return panel;
}

}  // namespace host
