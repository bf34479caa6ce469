// List view rows and cells.
#include "forms/win32/win32_window_system.h"

#include <windows.h>

#include "forms/win32/frame_state.h"
#include "forms/win32/list_view.h"
#include "forms/win32/list_view_redraw.h"
#include "forms/win32/ui_thread.h"

namespace lumora::forms {

using win32::ControlState;
using win32::FrameState;

namespace {

// Runs `work(list window, row store)` when control `index` is a list view, else gives
// `fallback`.
template <typename Result, typename Work>
Result WithList(const win32::BackendState& state, const WindowDefinition& window, int index,
                Result fallback, Work&& work) {
  return win32::ReadControl(state, window, index, fallback,
                            [&](FrameState& frame, ControlState& control) -> Result {
                              if (frame.Definition(index).kind != ControlKind::kListView) {
                                return fallback;
                              }
                              return work(control.window, control.rows);
                            });
}

// Changes rows, cells, images or check boxes by `work(list window, row store)`. Changes made on
// the user-interface thread itself come in runs (a refill adds every row, a batch of
// reachability results sets hundreds of cells before that thread reads its messages again), so
// the list is drawn once after the run: under Wine every single change drawn at once is a
// request to the Wine server, which a running pass keeps busy.
template <typename Result, typename Work>
Result ChangeRows(const win32::BackendState& state, const WindowDefinition& window, int index,
                  Result fallback, Work&& work) {
  const bool partOfRun = GetCurrentThreadId() == state.uiThread;
  return WithList(state, window, index, fallback, [&](HWND list, win32::ListRowStore& store) {
    if (partOfRun) {
      win32::list_view::HoldRedraw(list);
    }
    return work(list, store);
  });
}

}  // namespace

int Win32WindowSystem::RowCount(const WindowDefinition& window, int index) const {
  return WithList(*state_, window, index, 0,
                  [](HWND list, win32::ListRowStore&) { return win32::list_view::RowCount(list); });
}

int Win32WindowSystem::AppendRow(const WindowDefinition& window, int index, const Text& text) {
  return ChangeRows(*state_, window, index, -1, [&](HWND list, win32::ListRowStore& store) {
    return win32::list_view::AppendRow(list, store, text);
  });
}

void Win32WindowSystem::DeleteAllRows(const WindowDefinition& window, int index) {
  ChangeRows(*state_, window, index, 0, [](HWND list, win32::ListRowStore& store) {
    win32::list_view::DeleteAllRows(list, store);
    return 0;
  });
}

void Win32WindowSystem::DeleteRow(const WindowDefinition& window, int index, int row) {
  ChangeRows(*state_, window, index, 0, [&](HWND list, win32::ListRowStore& store) {
    win32::list_view::DeleteRow(list, store, row);
    return 0;
  });
}

Text Win32WindowSystem::CellText(const WindowDefinition& window, int index, int row,
                                 int cell) const {
  return WithList(*state_, window, index, Text(), [&](HWND list, win32::ListRowStore& store) {
    return win32::list_view::CellText(list, store, row, cell);
  });
}

void Win32WindowSystem::SetCellText(const WindowDefinition& window, int index, int row, int cell,
                                    const Text& text) {
  ChangeRows(*state_, window, index, 0, [&](HWND list, win32::ListRowStore& store) {
    win32::list_view::SetCellText(list, store, row, cell, text);
    return 0;
  });
}

int Win32WindowSystem::RowImage(const WindowDefinition& window, int index, int row) const {
  return WithList(*state_, window, index, -1, [&](HWND list, win32::ListRowStore& store) {
    return win32::list_view::RowImage(list, store, row);
  });
}

void Win32WindowSystem::SetRowImage(const WindowDefinition& window, int index, int row, int image) {
  ChangeRows(*state_, window, index, 0, [&](HWND list, win32::ListRowStore& store) {
    win32::list_view::SetRowImage(list, store, row, image);
    return 0;
  });
}

bool Win32WindowSystem::IsRowChecked(const WindowDefinition& window, int index, int row) const {
  return WithList(*state_, window, index, false, [&](HWND list, win32::ListRowStore& store) {
    return win32::list_view::IsRowChecked(list, store, row);
  });
}

void Win32WindowSystem::SetRowChecked(const WindowDefinition& window, int index, int row,
                                      bool checked) {
  ChangeRows(*state_, window, index, 0, [&](HWND list, win32::ListRowStore& store) {
    win32::list_view::SetRowChecked(list, store, row, checked);
    return 0;
  });
}

int Win32WindowSystem::CurrentRow(const WindowDefinition& window, int index) const {
  return WithList(*state_, window, index, -1, [](HWND list, win32::ListRowStore& store) {
    return win32::list_view::CurrentRow(list, store);
  });
}

void Win32WindowSystem::SetCurrentRow(const WindowDefinition& window, int index, int row) {
  WithList(*state_, window, index, 0, [&](HWND list, win32::ListRowStore& store) {
    win32::list_view::SetCurrentRow(list, store, row);
    return 0;
  });
}

void Win32WindowSystem::EnsureRowVisible(const WindowDefinition& window, int index, int row) {
  WithList(*state_, window, index, 0, [&](HWND list, win32::ListRowStore& store) {
    win32::list_view::EnsureRowVisible(list, store, row);
    return 0;
  });
}

int Win32WindowSystem::TopRow(const WindowDefinition& window, int index) const {
  return WithList(*state_, window, index, 0, [](HWND list, win32::ListRowStore& store) {
    return win32::list_view::TopRow(list, store);
  });
}

void Win32WindowSystem::ScrollToTopRow(const WindowDefinition& window, int index, int row) {
  WithList(*state_, window, index, 0, [&](HWND list, win32::ListRowStore& store) {
    win32::list_view::ScrollToTopRow(list, store, row);
    return 0;
  });
}

void Win32WindowSystem::SortRows(const WindowDefinition& window, int index, int cell,
                                 bool ascending, bool numeric) {
  ChangeRows(*state_, window, index, 0, [&](HWND list, win32::ListRowStore& store) {
    win32::list_view::SortRows(list, store, cell, ascending, numeric);
    return 0;
  });
}

}  // namespace lumora::forms
