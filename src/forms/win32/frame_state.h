// The backend's record of each live window and its controls.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "base/text.h"
#include "forms/win32/picture_box.h"
#include "forms/win32/win32_handles.h"
#include "forms/window_definition.h"

namespace lumora::forms::win32 {

// Control `index` has the child-window id kFirstControlId + index (clear of IDOK and IDCANCEL,
// which the dialog manager sends on Enter and Escape).
inline constexpr int kFirstControlId = 100;
// Asks a frame to destroy itself when the message loop next runs.
inline constexpr UINT kMsgPostedClose = WM_APP + 1;

// List view cells at column indexes the list has no column for, per row. A row is known by the
// id kept in its item data, which stays with the row when rows above it are deleted.
struct ListRowStore {
  std::unordered_map<LPARAM, std::map<int, Text>> extraCells;
  LPARAM nextRowId = 1;
  // Rows are numbered in the order they were added, whatever order the list shows them in:
  // once sorted, itemOfRow[row] is the place where row `row` is shown and rowOfItem the other way
  // round. Both empty: each row is shown at its own number.
  std::vector<int> itemOfRow, rowOfItem;
};

struct ControlState {
  HWND window = nullptr;  // none for the non-visual kinds
  UniqueBrush backBrush;  // the defined background colour, when one is given
  int lastSliderPosition = 0;
  UniqueImageList images;                 // list view small icons, toolbar pictures
  std::unique_ptr<PictureImage> picture;  // picture box
  ListRowStore rows;                      // list view
  UniqueOwnedWindow balloon;              // balloon tip, made on first use
  UniqueOwnedWindow cellTips;             // list view: the whole text of a cut cell
};

struct BackendState;

struct FrameState {
  BackendState* backend = nullptr;
  const WindowDefinition* definition = nullptr;
  bool modal = false;
  HWND window = nullptr;
  COLORREF background = 0;
  UniqueBrush ownedBackground;
  HBRUSH backgroundBrush = nullptr;  // ownedBackground or a system colour brush
  UniqueIcon bigIcon, smallIcon;
  std::vector<ControlState> controls;
  HWND lastFocus = nullptr;
  // The window that was active when this one was created, active again after a modal loop.
  HWND activeBefore = nullptr;

  const ControlDefinition& Definition(int index) const { return definition->controls[index]; }
  // Index of the control whose window is `control`, or -1.
  int ControlIndexOf(HWND control) const;
};

struct BackendState {
  DWORD uiThread = 0;
  // False when the common control classes could not be registered: no window is made then.
  bool commonControls = false;
  UniqueFont font;
  UniqueWindow hiddenOwner;
  UniqueWindow workQueue;
  std::map<const WindowDefinition*, std::unique_ptr<FrameState>> frames;
  // Set while the backend itself tears windows down: the model is not told any more.
  bool shuttingDown = false;
  // Whether the user's last key press or mouse click was a key press.
  bool lastInputFromKeyboard = false;

  FrameState* Find(const WindowDefinition& window) const;
  FrameState* FindByWindow(HWND window) const;
  ControlState* Control(const WindowDefinition& window, int index) const;
};

}  // namespace lumora::forms::win32
