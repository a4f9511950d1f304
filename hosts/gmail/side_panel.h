// The side panel: the app's list of mail folders, one GOOSideViewItemCell per
// item with the item's icon beside its title. A cell shows the item's plain
// icon, and its highlighted icon while it is the selected item.
#pragma once

#include "platform/objc/ref.h"

namespace host {

// Defines GOOSideViewItemCell.
void define_side_view_item_cell();

// The side panel over the app's first folders, the inbox selected.
objc::Ref make_side_panel();

}  // namespace host
