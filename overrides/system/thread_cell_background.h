// The thread-cell background rule: the images an inbox row is drawn on, which
// the row face's class makes for the row's position and colour, become plain
// fills of the same size in the palette (the background for the plain and
// the grey-selected row, the raised surface for the highlighted one).
#pragma once

#include "core/saved_implementation.h"

namespace tenebra {

using CellBackgroundMaker = id(id, SEL, long, id);

extern SavedImplementation<CellBackgroundMaker> saved_thread_cell_background;
extern SavedImplementation<CellBackgroundMaker> saved_thread_cell_grey_selected_background;
extern SavedImplementation<CellBackgroundMaker> saved_thread_cell_highlighted_background;

// +[ThreadCellFrontView backgroundForPosition:backgroundColor:]
id thread_cell_background(id self, SEL _cmd, long position, id color);
// +[ThreadCellFrontView greySelectedBackgroundForPosition:backgroundColor:]
id thread_cell_grey_selected_background(id self, SEL _cmd, long position, id color);
// +[ThreadCellFrontView highlightedBackgroundForPosition:backgroundColor:]
id thread_cell_highlighted_background(id self, SEL _cmd, long position, id color);

}  // namespace tenebra
