// List views in report view: rows of cells (any column index, shown or not), a small icon and a
// check box per row.
#pragma once

#include <windows.h>

#include <string>

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

int RowCount(HWND list);
int AppendRow(HWND list, ListRowStore& store, const Text& text);
void DeleteAllRows(HWND list, ListRowStore& store);
void DeleteRow(HWND list, ListRowStore& store, int row);
Text CellText(HWND list, const ListRowStore& store, int row, int cell);
// The text the list itself shows in `column` of `row`.
std::wstring ColumnText(HWND list, int row, int column);
void SetCellText(HWND list, ListRowStore& store, int row, int cell, const Text& text);
int RowImage(HWND list, int row);
void SetRowImage(HWND list, int row, int image);
bool IsRowChecked(HWND list, int row);
void SetRowChecked(HWND list, int row, bool checked);
int CurrentRow(HWND list);
void SetCurrentRow(HWND list, int row);
void EnsureRowVisible(HWND list, int row);
int TopRow(HWND list);
void ScrollToTopRow(HWND list, int row);

// A click on an arrow of the horizontal scroll bar (`request` SB_LINELEFT or SB_LINERIGHT)
// scrolls a step the eye can follow, where the list itself would move a pixel; false for any
// other request, which the list handles itself.
bool ScrollSideways(HWND list, int request);

}  // namespace lumora::forms::win32::list_view
