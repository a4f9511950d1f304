#include "platform/uikit/ui_picker_view.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/coregraphics/geometry.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"

namespace ui {
namespace {

using objc::msg;
using objc::Ref;

constexpr double kRowHeight = 32;

const objc::Member<Ref> kAttributedTitle{"UIPickerTableViewTitledCell", "_attributedTitle"};

// Data source and delegate are not retained, as in UIKit.
const objc::Member<id> kDataSource{"UIPickerView", "_dataSource"};
const objc::Member<id> kDelegate{"UIPickerView", "_delegate"};
const objc::Member<BOOL> kLoaded{"UIPickerView", "_loaded"};
const objc::Member<std::vector<long>> kSelected{"UIPickerView", "_selectedRows"};
// Per component, the cells shown, from the first visible row on.
struct ShownRows {
  long first = 0;
  std::vector<Ref> cells;
};
const objc::Member<std::vector<ShownRows>> kShown{"UIPickerView", "_shownRows"};

const objc::Member<Ref> kTitleLabel{"UIDatePickerContentView", "_titleLabel"};
const objc::Member<Ref> kWheels{"UIDatePickerContentView", "_pickerView"};
const objc::Member<Ref> kContent{"UIDatePicker", "_contentView"};

id cell_attributed_title(id self, SEL) { return kAttributedTitle.of(self); }
void cell_set_attributed_title(id self, SEL, id title) {
  kAttributedTitle.of(self) = Ref::adopt(msg<id>(title, "copy"));
}

long picker_number_of_components(id self, SEL) {
  id source = kDataSource.of(self);
  if (!objc::responds(source, objc::sel("numberOfComponentsInPickerView:"))) return 0;
  return std::max(msg<long>(source, "numberOfComponentsInPickerView:", self), 0L);
}
long picker_number_of_rows(id self, SEL, long component) {
  id source = kDataSource.of(self);
  if (component < 0 || !objc::responds(source, objc::sel("pickerView:numberOfRowsInComponent:"))) {
    return 0;
  }
  return std::max(msg<long>(source, "pickerView:numberOfRowsInComponent:", self, component), 0L);
}

// The delegate's attributed title, else its plain title made attributed;
// absent when it gives neither.
id row_title(id picker, long row, long component) {
  id delegate = kDelegate.of(picker);
  if (objc::responds(delegate, objc::sel("pickerView:attributedTitleForRow:forComponent:"))) {
    return msg<id>(delegate, "pickerView:attributedTitleForRow:forComponent:", picker, row,
                   component);
  }
  if (!objc::responds(delegate, objc::sel("pickerView:titleForRow:forComponent:"))) return nil;
  id text = msg<id>(delegate, "pickerView:titleForRow:forComponent:", picker, row, component);
  if (text == nil) return nil;
  return ns::autorelease(
      msg<id>(msg<id>(objc_getClass("NSAttributedString"), "alloc"), "initWithString:", text));
}

void picker_reload_all_components(id self, SEL) {
  for (const ShownRows& shown : kShown.of(self)) {
    for (const Ref& cell : shown.cells) msg<void>(cell, "removeFromSuperview");
  }
  kShown.of(self).clear();
  kLoaded.of(self) = YES;
  const long components = msg<long>(self, "numberOfComponents");
  kSelected.of(self).resize(static_cast<std::size_t>(components), 0);
  const CGSize size = msg<CGRect>(self, "bounds").size;
  const double width = components > 0 ? size.width / static_cast<double>(components) : 0;
  for (long component = 0; component < components; ++component) {
    const long rows = msg<long>(self, "numberOfRowsInComponent:", component);
    long& selected = kSelected.of(self)[static_cast<std::size_t>(component)];
    selected = std::clamp(selected, 0L, std::max(rows - 1, 0L));
    ShownRows shown;
    shown.first = std::max(selected - kPickerVisibleRowsAround, 0L);
    const long last = std::min(selected + kPickerVisibleRowsAround, rows - 1);
    for (long row = shown.first; row <= last; ++row) {
      const double y =
          size.height / 2 + static_cast<double>(row - selected) * kRowHeight - kRowHeight / 2;
      Ref cell = Ref::adopt(
          msg<id>(msg<id>(objc_getClass("UIPickerTableViewTitledCell"), "alloc"), "initWithFrame:",
                  CGRectMake(width * static_cast<double>(component), y, width, kRowHeight)));
      msg<void>(cell, "setAttributedTitle:", row_title(self, row, component));
      msg<void>(self, "addSubview:", cell.get());
      shown.cells.push_back(std::move(cell));
    }
    kShown.of(self).push_back(std::move(shown));
  }
}

id picker_view_for_row(id self, SEL, long row, long component) {
  const auto& shown = kShown.of(self);
  if (component < 0 || static_cast<std::size_t>(component) >= shown.size()) return nil;
  const ShownRows& rows = shown[static_cast<std::size_t>(component)];
  const long index = row - rows.first;
  if (index < 0 || static_cast<std::size_t>(index) >= rows.cells.size()) return nil;
  return rows.cells[static_cast<std::size_t>(index)];
}

void picker_select_row(id self, SEL, long row, long component, BOOL) {
  auto& selected = kSelected.of(self);
  if (component < 0) return;
  if (static_cast<std::size_t>(component) >= selected.size()) {
    selected.resize(static_cast<std::size_t>(component) + 1, 0);
  }
  selected[static_cast<std::size_t>(component)] = row;
  if (kLoaded.of(self)) msg<void>(self, "reloadAllComponents");
}
long picker_selected_row(id self, SEL, long component) {
  const auto& selected = kSelected.of(self);
  if (component < 0 || static_cast<std::size_t>(component) >= selected.size()) return -1;
  return selected[static_cast<std::size_t>(component)];
}

id picker_data_source(id self, SEL) { return kDataSource.of(self); }
void picker_set_data_source(id self, SEL, id source) {
  kDataSource.of(self) = source;
  msg<void>(self, "setNeedsLayout");
}
id picker_delegate(id self, SEL) { return kDelegate.of(self); }
void picker_set_delegate(id self, SEL, id delegate) {
  kDelegate.of(self) = delegate;
  msg<void>(self, "setNeedsLayout");
}
void picker_layout_subviews(id self, SEL) {
  if (!kLoaded.of(self)) msg<void>(self, "reloadAllComponents");
}

// The date picker's wheels: a day, an hour of twelve and a minute.
constexpr std::array<long, 3> kWheelRows = {7, 12, 60};
constexpr std::array<const char*, 7> kDays = {"Today",     "Tomorrow", "Monday", "Tuesday",
                                              "Wednesday", "Thursday", "Friday"};

// The wheels' white backdrop and the title label are made with the view.
id content_init_with_frame(id self, SEL, CGRect frame) {
  self = objc::msg_super<id>(self, objc_getClass("UIDatePickerContentView"),
                             objc::sel("initWithFrame:"), frame);
  if (self == nil) return nil;
  Ref wheels = Ref::adopt(msg<id>(objc_getClass("UIPickerView"), "new"));
  msg<void>(wheels, "setBackgroundColor:", msg<id>(objc_getClass("UIColor"), "whiteColor"));
  msg<void>(wheels, "setDataSource:", self);
  msg<void>(wheels, "setDelegate:", self);
  msg<void>(self, "addSubview:", wheels.get());
  kWheels.of(self) = std::move(wheels);
  return self;
}
void content_dealloc(id self, SEL) {
  msg<void>(kWheels.of(self), "setDataSource:", nil);
  msg<void>(kWheels.of(self), "setDelegate:", nil);
  objc::msg_super<void>(self, objc_getClass("UIDatePickerContentView"), objc::sel("dealloc"));
}
id content_title_label(id self, SEL) {
  Ref& label = kTitleLabel.of(self);
  if (!label) {
    label = Ref::adopt(msg<id>(objc_getClass("UILabel"), "new"));
    msg<void>(self, "addSubview:", label.get());
  }
  return label;
}
id content_picker_view(id self, SEL) { return kWheels.of(self); }
// The title along the top, the wheels below it.
void content_layout_subviews(id self, SEL) {
  const CGSize size = msg<CGRect>(self, "bounds").size;
  msg<void>(msg<id>(self, "titleLabel"), "setFrame:", CGRectMake(16, 0, size.width - 32, 44));
  msg<void>(kWheels.of(self),
            "setFrame:", CGRectMake(0, 44, size.width, std::max(size.height - 44, 0.0)));
}
long content_components(id, SEL, id) { return static_cast<long>(kWheelRows.size()); }
long content_rows(id, SEL, id, long component) {
  if (component < 0 || static_cast<std::size_t>(component) >= kWheelRows.size()) return 0;
  return kWheelRows[static_cast<std::size_t>(component)];
}
id content_title(id, SEL, id, long row, long component) {
  if (row < 0 || component < 0 || component >= static_cast<long>(kWheelRows.size()) ||
      row >= kWheelRows[static_cast<std::size_t>(component)]) {
    return nil;
  }
  if (component == 0) return ns::string(kDays[static_cast<std::size_t>(row)]);
  char text[8];
  std::snprintf(text, sizeof text, component == 1 ? "%ld" : "%02ld",
                component == 1 ? row + 1 : row);
  return ns::string(text);
}

id date_picker_init_with_frame(id self, SEL, CGRect frame) {
  self =
      objc::msg_super<id>(self, objc_getClass("UIDatePicker"), objc::sel("initWithFrame:"), frame);
  if (self == nil) return nil;
  kContent.of(self) = Ref::adopt(msg<id>(msg<id>(objc_getClass("UIDatePickerContentView"), "alloc"),
                                         "initWithFrame:", msg<CGRect>(self, "bounds")));
  msg<void>(self, "addSubview:", kContent.of(self).get());
  return self;
}
id date_picker_content_view(id self, SEL) { return kContent.of(self); }

}  // namespace

void define_picker_classes() {
  objc::ClassDefinition("UIPickerTableViewTitledCell", objc_getClass("UITableViewCell"))
      .member<Ref>("_attributedTitle")
      .method("attributedTitle", cell_attributed_title)
      .method("setAttributedTitle:", cell_set_attributed_title)
      .finish();
  objc::ClassDefinition("UIPickerView", objc_getClass("UIView"))
      .member<id>("_dataSource")
      .member<id>("_delegate")
      .member<BOOL>("_loaded")
      .member<std::vector<long>>("_selectedRows")
      .member<std::vector<ShownRows>>("_shownRows")
      .method("dataSource", picker_data_source)
      .method("setDataSource:", picker_set_data_source)
      .method("delegate", picker_delegate)
      .method("setDelegate:", picker_set_delegate)
      .method("numberOfComponents", picker_number_of_components)
      .method("numberOfRowsInComponent:", picker_number_of_rows)
      .method("reloadAllComponents", picker_reload_all_components)
      .method("viewForRow:forComponent:", picker_view_for_row)
      .method("selectRow:inComponent:animated:", picker_select_row)
      .method("selectedRowInComponent:", picker_selected_row)
      .method("layoutSubviews", picker_layout_subviews)
      .finish();
  objc::ClassDefinition("UIDatePickerContentView", objc_getClass("UIView"))
      .member<Ref>("_titleLabel")
      .member<Ref>("_pickerView")
      .method("initWithFrame:", content_init_with_frame)
      .method("dealloc", content_dealloc)
      .method("titleLabel", content_title_label)
      .method("pickerView", content_picker_view)
      .method("layoutSubviews", content_layout_subviews)
      .method("numberOfComponentsInPickerView:", content_components)
      .method("pickerView:numberOfRowsInComponent:", content_rows)
      .method("pickerView:titleForRow:forComponent:", content_title)
      .finish();
  objc::ClassDefinition("UIDatePicker", objc_getClass("UIControl"))
      .member<Ref>("_contentView")
      .method("initWithFrame:", date_picker_init_with_frame)
      .method("contentView", date_picker_content_view)
      .finish();
}

}  // namespace ui
