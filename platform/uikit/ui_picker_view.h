// Pickers. A UIPickerView shows, per component, the rows around the selected
// one as UIPickerTableViewTitledCell cells, each with the attributed title
// its delegate gives (or the plain title made attributed); the cells are
// made again whenever the components are reloaded, and at the first layout.
// A UIDatePicker holds a UIDatePickerContentView: a title label above a
// picker of days, hours and minutes, for which it is the data source and the
// delegate.
#pragma once

namespace ui {

// Rows a picker shows above and below its selected row.
inline constexpr long kPickerVisibleRowsAround = 2;

// Defines UIPickerTableViewTitledCell, UIPickerView, UIDatePickerContentView
// and UIDatePicker; called once at platform start, after the list views.
void define_picker_classes();

}  // namespace ui
