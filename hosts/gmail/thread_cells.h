// ThreadCellFrontView, the face of an inbox row. Its class makes the row's
// background image for the row's position in the list and its colour, in
// three states: plain, grey while selected for editing, highlighted while
// touched. The face asks its class for the image of its state at each
// layout, keeps it and draws it over its bounds.
#pragma once

namespace host {

// Where a row stands in its list, as the class's `position` arguments say
// it: the first and last rows have no separator below them on the outside.
inline constexpr long kFirstRow = 0;
inline constexpr long kMiddleRow = 1;
inline constexpr long kLastRow = 2;
inline constexpr long kOnlyRow = 3;

// Defines ThreadCellFrontView.
void define_thread_cell_front_view();

}  // namespace host
