#include "platform/uikit/ui_list_views.h"

#include "platform/foundation/ns_string.h"
#include "platform/coregraphics/geometry.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"

namespace ui {
namespace {

using objc::msg;
using objc::Ref;

const objc::Member<CGPoint> kContentOffset{"UIScrollView", "_contentOffset"};
const objc::Member<CGSize> kContentSize{"UIScrollView", "_contentSize"};
const objc::Member<Ref> kContentView{"UITableViewCell", "_contentView"};
const objc::Member<Ref> kReuseIdentifier{"UITableViewCell", "_reuseIdentifier"};
const objc::Member<Ref> kSelectedBackgroundView{"UITableViewCell", "_selectedBackgroundView"};
const objc::Member<BOOL> kCellSelected{"UITableViewCell", "_selected"};
const objc::Member<Ref> kDefaultSelectedBackground{"UITableViewCell", "_defaultSelectedBackground"};
const objc::Member<Ref> kSelectionTint{"UITableViewCellSelectedBackground", "_selectionTintColor"};

CGPoint content_offset(id self, SEL) { return kContentOffset.of(self); }
void set_content_offset(id self, SEL, CGPoint offset) { kContentOffset.of(self) = offset; }
CGSize content_size(id self, SEL) { return kContentSize.of(self); }
void set_content_size(id self, SEL, CGSize size) { kContentSize.of(self) = size; }

id cell_init_with_style(id self, SEL, long, id reuse_identifier) {
  self = msg<id>(self, "initWithFrame:", CGRectMake(0, 0, 320, 44));
  kReuseIdentifier.of(self) = Ref::adopt(msg<id>(reuse_identifier, "copy"));
  return self;
}
// The content view is made on first use and sits in the cell's tree.
id cell_content_view(id self, SEL) {
  Ref& content = kContentView.of(self);
  if (!content) {
    content = Ref::adopt(msg<id>(msg<id>(objc_getClass("UIView"), "alloc"),
                                 "initWithFrame:", msg<CGRect>(self, "bounds")));
    msg<void>(self, "addSubview:", content.get());
  }
  return content;
}
id cell_reuse_identifier(id self, SEL) { return kReuseIdentifier.of(self); }
id cell_selected_background_view(id self, SEL) { return kSelectedBackgroundView.of(self); }
void cell_set_selected_background_view(id self, SEL, id view) {
  kSelectedBackgroundView.of(self) = Ref::retain(view);
}
BOOL cell_is_selected(id self, SEL) { return kCellSelected.of(self); }
// UIKit's selection grey, #D9D9D9.
id default_selection_tint() {
  return msg<id>(objc_getClass("UIColor"), "colorWithRed:green:blue:alpha:", 217.0 / 255,
                 217.0 / 255, 217.0 / 255, 1.0);
}
// The app's selected background view, else UIKit's own, made at the first
// selection with the selection tint.
id selection_view(id cell) {
  if (id own = kSelectedBackgroundView.of(cell)) return own;
  Ref& fallback = kDefaultSelectedBackground.of(cell);
  if (!fallback) {
    fallback = Ref::adopt(msg<id>(objc_getClass("UITableViewCellSelectedBackground"), "new"));
    msg<void>(fallback, "setSelectionTintColor:", default_selection_tint());
  }
  return fallback;
}
void cell_set_selected(id self, SEL, BOOL selected) {
  kCellSelected.of(self) = selected;
  id background = selection_view(self);
  if (!selected) {
    msg<void>(background, "removeFromSuperview");
    return;
  }
  msg<void>(background, "setFrame:", msg<CGRect>(self, "bounds"));
  msg<void>(self, "addSubview:", background);
}
id selection_tint(id self, SEL) { return kSelectionTint.of(self); }
void set_selection_tint(id self, SEL, id color) { kSelectionTint.of(self) = Ref::retain(color); }

}  // namespace

void define_list_view_classes() {
  objc::ClassDefinition("UIScrollView", objc_getClass("UIView"))
      .member<CGPoint>("_contentOffset")
      .member<CGSize>("_contentSize")
      .method("contentOffset", content_offset)
      .method("setContentOffset:", set_content_offset)
      .method("contentSize", content_size)
      .method("setContentSize:", set_content_size)
      .finish();
  objc::ClassDefinition("UITableView", objc_getClass("UIScrollView")).finish();
  objc::ClassDefinition("UITableViewCell", objc_getClass("UIView"))
      .member<Ref>("_contentView")
      .member<Ref>("_reuseIdentifier")
      .member<Ref>("_selectedBackgroundView")
      .member<BOOL>("_selected")
      .member<Ref>("_defaultSelectedBackground")
      .method("initWithStyle:reuseIdentifier:", cell_init_with_style)
      .method("contentView", cell_content_view)
      .method("reuseIdentifier", cell_reuse_identifier)
      .method("selectedBackgroundView", cell_selected_background_view)
      .method("setSelectedBackgroundView:", cell_set_selected_background_view)
      .method("isSelected", cell_is_selected)
      .method("setSelected:", cell_set_selected)
      .finish();
  objc::ClassDefinition("UITableViewCellSelectedBackground", objc_getClass("UIView"))
      .member<Ref>("_selectionTintColor")
      .method("selectionTintColor", selection_tint)
      .method("setSelectionTintColor:", set_selection_tint)
      .finish();
}

}  // namespace ui
