// List views in report view: rows of cells (any column index, shown or not), a small icon and a
// check box per row.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/text.h"
#include "forms/win32/frame_state.h"

namespace lumora::forms::win32::list_view {

// Window and extended list-view styles of a list view with these properties.
DWORD Style(const ControlProperties& properties);

// Fills a new list view: extended styles, columns, colours, small-icon image list.
void SetUp(HWND list, const ControlProperties& properties, ControlState& state);

// A disabled list is drawn greyed, as other disabled controls are; the list view itself would
// look the same either way.
void ShowEnabled(HWND list, const ControlProperties& properties, bool enabled);

// Rows are numbered in the order they were added; a sorted list shows them in another order
// (see ListRowStore), and every row argument and result here is such a number.
int RowCount(HWND list);
int AppendRow(HWND list, ListRowStore& store, const Text& text);
void DeleteAllRows(HWND list, ListRowStore& store);
void DeleteRow(HWND list, ListRowStore& store, int row);
Text CellText(HWND list, const ListRowStore& store, int row, int cell);
// The text the list itself shows in `column` of the row shown at `item`.
std::wstring ColumnText(HWND list, int item, int column);
void SetCellText(HWND list, ListRowStore& store, int row, int cell, const Text& text);
int RowImage(HWND list, const ListRowStore& store, int row);
void SetRowImage(HWND list, const ListRowStore& store, int row, int image);
bool IsRowChecked(HWND list, const ListRowStore& store, int row);
void SetRowChecked(HWND list, const ListRowStore& store, int row, bool checked);
int CurrentRow(HWND list, const ListRowStore& store);
void SetCurrentRow(HWND list, const ListRowStore& store, int row);
void EnsureRowVisible(HWND list, const ListRowStore& store, int row);
int TopRow(HWND list, const ListRowStore& store);
void ScrollToTopRow(HWND list, const ListRowStore& store, int row);

// The row shown at `item`, and the place where `row` is shown.
int RowShownAt(const ListRowStore& store, int item);
int ItemShowing(const ListRowStore& store, int row);

// Shows the rows ordered by `cell` (as numbers when `numeric`: a text that starts with no digit
// comes after every number), rows with equal cells in the order they were added, and marks the
// column's header with the direction.
void SortRows(HWND list, ListRowStore& store, int cell, bool ascending, bool numeric);

// A click on an arrow of the horizontal scroll bar (`request` SB_LINELEFT or SB_LINERIGHT)
// scrolls a step the eye can follow, where the list itself would move a pixel; false for any
// other request, which the list handles itself.
bool ScrollSideways(HWND list, int request);

}  // namespace lumora::forms::win32::list_view
