#include "forms/win32/list_view.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>

#include "forms/win32/bitmap_image.h"
#include "forms/win32/growing_buffer.h"
#include "forms/win32/list_view_cell_tips.h"
#include "forms/win32/list_view_redraw.h"
#include "forms/win32/wide_text.h"

namespace lumora::forms::win32::list_view {
namespace {

// Sends `message` straight to the list view's own window procedure. Under Wine a message that
// passes through a common-controls subclass (the mouse events have one) costs a round trip to
// the Wine server, since the subclass chain is looked up in a window property; a refill sends
// some thirty messages a row. The subclasses do not handle list view messages.
LRESULT ListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto procedure = reinterpret_cast<WNDPROC>(GetClassLongPtrW(list, GCLP_WNDPROC));
  if (procedure == nullptr) {
    return SendMessageW(list, message, wParam, lParam);
  }
  return CallWindowProcW(procedure, list, message, wParam, lParam);
}

COLORREF ToColorRef(const Rgb& colour) {
  return RGB(colour.red, colour.green, colour.blue);
}

int ColumnCount(HWND list) {
  const auto header = reinterpret_cast<HWND>(ListMessage(list, LVM_GETHEADER, 0, 0));
  return header == nullptr ? 0 : static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
}

bool HasRow(HWND list, int row) {
  return row >= 0 && row < RowCount(list);
}

std::optional<LVITEMW> ReadItem(HWND list, int row, UINT mask) {
  LVITEMW item{};
  item.mask = mask;
  item.iItem = row;
  item.stateMask = LVIS_STATEIMAGEMASK;
  if (!HasRow(list, row) || !ListMessage(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) {
    return std::nullopt;
  }
  return item;
}

std::optional<LPARAM> RowId(HWND list, int row) {
  const std::optional<LVITEMW> item = ReadItem(list, row, LVIF_PARAM);
  if (!item) {
    return std::nullopt;
  }
  return item->lParam;
}

void AddColumns(HWND list, const ControlProperties& properties) {
  int index = 0;
  for (const ListColumn& definition : properties.columns) {
    std::wstring title = ToWide(definition.title == nullptr ? "" : definition.title);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = title.data();
    column.cx = definition.width;
    column.iSubItem = index;
    SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
    ++index;
  }
}

}  // namespace

DWORD Style(const ControlProperties& properties) {
  DWORD style = LVS_REPORT | LVS_SHAREIMAGELISTS;
  if (properties.singleSelection) {
    style |= LVS_SINGLESEL;
  }
  if (properties.showSelectionAlways) {
    style |= LVS_SHOWSELALWAYS;
  }
  if (!properties.clickableHeaders) {
    style |= LVS_NOSORTHEADER;
  }
  return style;
}

void SetUp(HWND list, const ControlProperties& properties, ControlState& state) {
  DWORD extended = 0;
  if (properties.checkBoxes) {
    extended |= LVS_EX_CHECKBOXES;
  }
  if (properties.gridLines) {
    extended |= LVS_EX_GRIDLINES;
  }
  if (properties.fullRowSelect) {
    extended |= LVS_EX_FULLROWSELECT;
  }
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  AddColumns(list, properties);
  ShowEnabled(list, properties, (GetWindowLongW(list, GWL_STYLE) & WS_DISABLED) == 0);
  state.images = CreateImageList(properties.images);
  if (state.images) {
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(state.images.get()));
  }
  state.cellTips.reset(CreateCellTips(list));
}

void ShowEnabled(HWND list, const ControlProperties& properties, bool enabled) {
  COLORREF back = GetSysColor(COLOR_BTNFACE);
  COLORREF text = GetSysColor(COLOR_GRAYTEXT);
  if (enabled) {
    back = properties.backColour ? ToColorRef(*properties.backColour) : GetSysColor(COLOR_WINDOW);
    text =
        properties.textColour ? ToColorRef(*properties.textColour) : GetSysColor(COLOR_WINDOWTEXT);
  }
  ListMessage(list, LVM_SETBKCOLOR, 0, back);
  ListMessage(list, LVM_SETTEXTBKCOLOR, 0, back);
  ListMessage(list, LVM_SETTEXTCOLOR, 0, text);
  InvalidateRect(list, nullptr, TRUE);
}

int RowCount(HWND list) {
  return static_cast<int>(ListMessage(list, LVM_GETITEMCOUNT, 0, 0));
}

int AppendRow(HWND list, ListRowStore& store, const Text& text) {
  std::wstring wide = ToWide(text);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
  item.iItem = RowCount(list);
  item.pszText = wide.data();
  item.iImage = I_IMAGENONE;
  item.lParam = store.nextRowId;
  const auto row =
      static_cast<int>(ListMessage(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (row >= 0) {
    ++store.nextRowId;
  }
  return row;
}

void DeleteAllRows(HWND list, ListRowStore& store) {
  ListMessage(list, LVM_DELETEALLITEMS, 0, 0);
  store.extraCells.clear();
}

void DeleteRow(HWND list, ListRowStore& store, int row) {
  const std::optional<LPARAM> id = RowId(list, row);
  if (!id) {
    return;
  }
  ListMessage(list, LVM_DELETEITEM, row, 0);
  store.extraCells.erase(*id);
}

std::wstring ColumnText(HWND list, int row, int column) {
  return ReadIntoGrowingBuffer([&](wchar_t* buffer, int capacity) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = capacity;
    return static_cast<int>(
        ListMessage(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
  });
}

Text CellText(HWND list, const ListRowStore& store, int row, int cell) {
  if (cell < 0 || !HasRow(list, row)) {
    return {};
  }
  const std::optional<LPARAM> id = RowId(list, row);
  const auto cells = id ? store.extraCells.find(*id) : store.extraCells.end();
  if (cells != store.extraCells.end()) {
    if (const auto found = cells->second.find(cell); found != cells->second.end()) {
      return found->second;
    }
  }
  return cell > 0 && cell >= ColumnCount(list) ? Text() : FromWide(ColumnText(list, row, cell));
}

void SetCellText(HWND list, ListRowStore& store, int row, int cell, const Text& text) {
  if (cell < 0 || !HasRow(list, row)) {
    return;
  }
  if (cell > 0 && cell >= ColumnCount(list)) {
    if (const std::optional<LPARAM> id = RowId(list, row)) {
      store.extraCells[*id][cell] = text;
    }
    return;
  }
  // A line break would show as a box: the cell shows a blank in its place, and the text itself,
  // its lines kept, stays beside the row for whoever reads the cell, and for its tip.
  std::wstring wide = ToWide(text);
  const std::wstring whole = wide;
  for (std::size_t at = wide.find_first_of(L"\r\n"); at != std::wstring::npos;
       at = wide.find_first_of(L"\r\n", at + 1)) {
    const std::size_t length = wide.compare(at, 2, L"\r\n") == 0 ? 2 : 1;
    wide.replace(at, length, L" ");
  }
  if (const std::optional<LPARAM> id = RowId(list, row)) {
    if (wide != whole) {
      store.extraCells[*id][cell] = text;
    } else if (const auto cells = store.extraCells.find(*id); cells != store.extraCells.end()) {
      cells->second.erase(cell);
    }
  }
  LVITEMW item{};
  item.iSubItem = cell;
  item.pszText = wide.data();
  ListMessage(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

int RowImage(HWND list, int row) {
  const std::optional<LVITEMW> item = ReadItem(list, row, LVIF_IMAGE);
  return item && item->iImage >= 0 ? item->iImage : -1;
}

void SetRowImage(HWND list, int row, int image) {
  if (!HasRow(list, row)) {
    return;
  }
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  // -1 would ask the parent for the image each time (I_IMAGECALLBACK).
  item.iImage = image >= 0 ? image : I_IMAGENONE;
  ListMessage(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

bool IsRowChecked(HWND list, int row) {
  const std::optional<LVITEMW> item = ReadItem(list, row, LVIF_STATE);
  return item && ((item->state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void SetRowChecked(HWND list, int row, bool checked) {
  if (!HasRow(list, row)) {
    return;
  }
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  ListMessage(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

int CurrentRow(HWND list) {
  return static_cast<int>(
      ListMessage(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

void SetCurrentRow(HWND list, int row) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = 0;
  // Row -1 addresses every row.
  ListMessage(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
  if (!HasRow(list, row)) {
    return;
  }
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  ListMessage(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  ListMessage(list, LVM_SETSELECTIONMARK, 0, row);
}

void EnsureRowVisible(HWND list, int row) {
  if (HasRow(list, row)) {
    // Scrolling needs the scroll range of the rows added meanwhile.
    ResumeRedraw(list);
    ListMessage(list, LVM_ENSUREVISIBLE, row, FALSE);
  }
}

int TopRow(HWND list) {
  return static_cast<int>(ListMessage(list, LVM_GETTOPINDEX, 0, 0));
}

void ScrollToTopRow(HWND list, int row) {
  if (!HasRow(list, row)) {
    return;
  }
  ResumeRedraw(list);
  RECT first{LVIR_BOUNDS, 0, 0, 0};
  if (!ListMessage(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first))) {
    return;
  }
  // In report view the list scrolls by whole rows of this height.
  const int rowHeight = static_cast<int>(first.bottom - first.top);
  ListMessage(list, LVM_SCROLL, 0, (row - TopRow(list)) * rowHeight);
}

bool ScrollSideways(HWND list, int request) {
  if (request != SB_LINELEFT && request != SB_LINERIGHT) {
    return false;
  }
  RECT client{};
  GetClientRect(list, &client);
  const int step = std::max(16, static_cast<int>(client.right / 20));
  ListMessage(list, LVM_SCROLL, request == SB_LINELEFT ? -step : step, 0);
  return true;
}

}  // namespace lumora::forms::win32::list_view
