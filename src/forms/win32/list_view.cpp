#include "forms/win32/list_view.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

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

bool IsSorted(const ListRowStore& store) {
  return !store.itemOfRow.empty();
}

std::optional<LVITEMW> ReadItem(HWND list, int shownAt, UINT mask) {
  LVITEMW item{};
  item.mask = mask;
  item.iItem = shownAt;
  item.stateMask = LVIS_STATEIMAGEMASK;
  if (!HasRow(list, shownAt) ||
      !ListMessage(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) {
    return std::nullopt;
  }
  return item;
}

// The id kept with the row shown at `item` (its extra cells are filed under it).
std::optional<LPARAM> RowId(HWND list, int item) {
  const std::optional<LVITEMW> read = ReadItem(list, item, LVIF_PARAM);
  if (!read) {
    return std::nullopt;
  }
  return read->lParam;
}

// A number at the start of `text` ("3389", "12ms"), or nothing ("超时", "检测").
std::optional<long long> LeadingNumber(const std::wstring& text) {
  if (text.empty() || text[0] < L'0' || text[0] > L'9') {
    return std::nullopt;
  }
  long long value = 0;
  for (std::size_t at = 0; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
    value = std::min(value * 10 + (text[at] - L'0'), 1LL << 40);
  }
  return value;
}

// The list's order of two rows by their ids: the places a sort gave them.
int CALLBACK ComparePlaces(LPARAM a, LPARAM b, LPARAM places) {
  const auto& of = *reinterpret_cast<const std::unordered_map<LPARAM, int>*>(places);
  return of.at(a) - of.at(b);
}

// Whether the header of `column` has room for its caption and a sort arrow beside it: a narrow
// column would show "..." for its caption.
bool HasRoomForArrow(HWND header, int column) {
  wchar_t caption[64] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_WIDTH;
  item.pszText = caption;
  item.cchTextMax = 64;
  SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
  HDC dc = GetDC(header);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(header, WM_GETFONT, 0, 0));
  const HGDIOBJ old = SelectObject(dc, font);
  SIZE text{};
  GetTextExtentPoint32W(dc, caption, lstrlenW(caption), &text);
  SelectObject(dc, old);
  ReleaseDC(header, dc);
  constexpr int kPaddingAndArrow = 40;
  return text.cx + kPaddingAndArrow <= item.cxy;
}

// Marks the header of `column` with the sort direction, where it has room for the arrow, and
// every other header with none.
void MarkSortedColumn(HWND list, int column, bool ascending) {
  const auto header = reinterpret_cast<HWND>(ListMessage(list, LVM_GETHEADER, 0, 0));
  const int columns = ColumnCount(list);
  for (int index = 0; index < columns; ++index) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    SendMessageW(header, HDM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (index == column && HasRoomForArrow(header, index)) {
      item.fmt |= ascending ? HDF_SORTUP : HDF_SORTDOWN;
    }
    SendMessageW(header, HDM_SETITEMW, index, reinterpret_cast<LPARAM>(&item));
  }
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
  const auto shownAt =
      static_cast<int>(ListMessage(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (shownAt < 0) {
    return -1;
  }
  ++store.nextRowId;
  // A row added to a sorted list is shown last, until the list is sorted again.
  if (IsSorted(store)) {
    store.itemOfRow.push_back(shownAt);
    store.rowOfItem.push_back(static_cast<int>(store.itemOfRow.size()) - 1);
  }
  return RowShownAt(store, shownAt);
}

void DeleteAllRows(HWND list, ListRowStore& store) {
  ListMessage(list, LVM_DELETEALLITEMS, 0, 0);
  store.extraCells.clear();
  store.itemOfRow.clear();
  store.rowOfItem.clear();
}

void DeleteRow(HWND list, ListRowStore& store, int row) {
  const int shownAt = ItemShowing(store, row);
  const std::optional<LPARAM> id = RowId(list, shownAt);
  if (!id) {
    return;
  }
  ListMessage(list, LVM_DELETEITEM, shownAt, 0);
  store.extraCells.erase(*id);
  if (IsSorted(store)) {
    // The rows after it move up one number, and those shown after it one place.
    store.itemOfRow.erase(store.itemOfRow.begin() + row);
    store.rowOfItem.erase(store.rowOfItem.begin() + shownAt);
    for (int& item : store.itemOfRow) {
      item -= item > shownAt ? 1 : 0;
    }
    for (int& later : store.rowOfItem) {
      later -= later > row ? 1 : 0;
    }
  }
}

int RowShownAt(const ListRowStore& store, int item) {
  return IsSorted(store) && item >= 0 && item < static_cast<int>(store.rowOfItem.size())
             ? store.rowOfItem[static_cast<std::size_t>(item)]
             : item;
}

int ItemShowing(const ListRowStore& store, int row) {
  return IsSorted(store) && row >= 0 && row < static_cast<int>(store.itemOfRow.size())
             ? store.itemOfRow[static_cast<std::size_t>(row)]
             : row;
}

std::wstring ColumnText(HWND list, int item, int column) {
  return ReadIntoGrowingBuffer([&](wchar_t* buffer, int capacity) {
    LVITEMW read{};
    read.iSubItem = column;
    read.pszText = buffer;
    read.cchTextMax = capacity;
    return static_cast<int>(
        ListMessage(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&read)));
  });
}

Text CellText(HWND list, const ListRowStore& store, int row, int cell) {
  const int shownAt = ItemShowing(store, row);
  if (cell < 0 || !HasRow(list, shownAt)) {
    return {};
  }
  const std::optional<LPARAM> id = RowId(list, shownAt);
  const auto cells = id ? store.extraCells.find(*id) : store.extraCells.end();
  if (cells != store.extraCells.end()) {
    if (const auto found = cells->second.find(cell); found != cells->second.end()) {
      return found->second;
    }
  }
  return cell > 0 && cell >= ColumnCount(list) ? Text() : FromWide(ColumnText(list, shownAt, cell));
}

void SetCellText(HWND list, ListRowStore& store, int row, int cell, const Text& text) {
  const int shownAt = ItemShowing(store, row);
  if (cell < 0 || !HasRow(list, shownAt)) {
    return;
  }
  if (cell > 0 && cell >= ColumnCount(list)) {
    if (const std::optional<LPARAM> id = RowId(list, shownAt)) {
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
  if (const std::optional<LPARAM> id = RowId(list, shownAt)) {
    if (wide != whole) {
      store.extraCells[*id][cell] = text;
    } else if (const auto cells = store.extraCells.find(*id); cells != store.extraCells.end()) {
      cells->second.erase(cell);
    }
  }
  LVITEMW item{};
  item.iSubItem = cell;
  item.pszText = wide.data();
  ListMessage(list, LVM_SETITEMTEXTW, shownAt, reinterpret_cast<LPARAM>(&item));
}

int RowImage(HWND list, const ListRowStore& store, int row) {
  const std::optional<LVITEMW> item = ReadItem(list, ItemShowing(store, row), LVIF_IMAGE);
  return item && item->iImage >= 0 ? item->iImage : -1;
}

void SetRowImage(HWND list, const ListRowStore& store, int row, int image) {
  const int shownAt = ItemShowing(store, row);
  if (!HasRow(list, shownAt)) {
    return;
  }
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = shownAt;
  // -1 would ask the parent for the image each time (I_IMAGECALLBACK).
  item.iImage = image >= 0 ? image : I_IMAGENONE;
  ListMessage(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

bool IsRowChecked(HWND list, const ListRowStore& store, int row) {
  const std::optional<LVITEMW> item = ReadItem(list, ItemShowing(store, row), LVIF_STATE);
  return item && ((item->state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void SetRowChecked(HWND list, const ListRowStore& store, int row, bool checked) {
  const int shownAt = ItemShowing(store, row);
  if (!HasRow(list, shownAt)) {
    return;
  }
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  ListMessage(list, LVM_SETITEMSTATE, shownAt, reinterpret_cast<LPARAM>(&item));
}

int CurrentRow(HWND list, const ListRowStore& store) {
  return RowShownAt(store,
                    static_cast<int>(ListMessage(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                 MAKELPARAM(LVNI_SELECTED, 0))));
}

void SetCurrentRow(HWND list, const ListRowStore& store, int row) {
  row = ItemShowing(store, row);
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

void EnsureRowVisible(HWND list, const ListRowStore& store, int row) {
  row = ItemShowing(store, row);
  if (HasRow(list, row)) {
    // Scrolling needs the scroll range of the rows added meanwhile.
    ResumeRedraw(list);
    ListMessage(list, LVM_ENSUREVISIBLE, row, FALSE);
  }
}

int TopRow(HWND list, const ListRowStore& store) {
  return RowShownAt(store, static_cast<int>(ListMessage(list, LVM_GETTOPINDEX, 0, 0)));
}

void ScrollToTopRow(HWND list, const ListRowStore& store, int row) {
  row = ItemShowing(store, row);
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
  const auto top = static_cast<int>(ListMessage(list, LVM_GETTOPINDEX, 0, 0));
  ListMessage(list, LVM_SCROLL, 0, (row - top) * rowHeight);
}

void SortRows(HWND list, ListRowStore& store, int cell, bool ascending, bool numeric) {
  struct Shown {
    int row;
    LPARAM id;
    std::wstring text;
    std::optional<long long> number;
  };
  const int count = RowCount(list);
  std::vector<Shown> rows;
  rows.reserve(static_cast<std::size_t>(count));
  for (int item = 0; item < count; ++item) {
    const int row = RowShownAt(store, item);
    std::wstring text = ToWide(CellText(list, store, row, cell));
    const std::optional<long long> number = numeric ? LeadingNumber(text) : std::nullopt;
    rows.push_back({row, RowId(list, item).value_or(0), std::move(text), number});
  }
  // Texts in the user's own order (Chinese by its reading), numbers by value before the rest.
  const auto before = [&](const Shown& a, const Shown& b) {
    if (numeric && a.number.has_value() != b.number.has_value()) {
      return a.number.has_value();
    }
    if (numeric && a.number && *a.number != *b.number) {
      return ascending ? *a.number < *b.number : *a.number > *b.number;
    }
    const int order = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.text.c_str(),
                                     static_cast<int>(a.text.size()), b.text.c_str(),
                                     static_cast<int>(b.text.size()));
    if (order != CSTR_EQUAL) {
      return ascending ? order == CSTR_LESS_THAN : order == CSTR_GREATER_THAN;
    }
    return a.row < b.row;
  };
  std::stable_sort(rows.begin(), rows.end(), before);
  // The list orders its rows by the place each id got.
  std::unordered_map<LPARAM, int> place;
  for (std::size_t at = 0; at < rows.size(); ++at) {
    place[rows[at].id] = static_cast<int>(at);
  }
  ListMessage(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&place),
              reinterpret_cast<LPARAM>(&ComparePlaces));
  store.itemOfRow.assign(rows.size(), 0);
  store.rowOfItem.assign(rows.size(), 0);
  for (int item = 0; item < count; ++item) {
    const int row = rows[static_cast<std::size_t>(item)].row;
    store.rowOfItem[static_cast<std::size_t>(item)] = row;
    store.itemOfRow[static_cast<std::size_t>(row)] = item;
  }
  MarkSortedColumn(list, cell, ascending);
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
