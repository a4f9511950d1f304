// The views that show lists of rows: UIScrollView, UITableView with its
// UITableViewCell. The model keeps what the host app's screens and the theme
// touch: cells with a content view and a selected background view, and the
// table's plain structure. A selected cell without a selected background
// view of the app's shows UIKit's own, a UITableViewCellSelectedBackground
// filled with the selection tint.
#pragma once

namespace ui {

// Defines the list views; called once at platform start.
void define_list_view_classes();

}  // namespace ui
