// The backend seam of the window model: real windows (win32) or in-memory ones (headless).
// The model drives a backend through this interface; a backend reports what happens to its
// windows back to the model (RaiseEvent, WindowDestroying in window_model.h).
#pragma once

#include <functional>
#include <span>
#include <string_view>

#include "base/text.h"
#include "forms/window_definition.h"

namespace lumora::forms {

struct Point {
  int x = 0, y = 0;
};

// Message box styles and answers used by the program (the system's own values).
namespace box {
inline constexpr unsigned kOk = 0x0;
inline constexpr unsigned kYesNo = 0x4;
inline constexpr unsigned kIconHand = 0x10;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconExclamation = 0x30;
inline constexpr unsigned kIconInformation = 0x40;
inline constexpr unsigned kSystemModal = 0x1000;
inline constexpr unsigned kTaskModal = 0x2000;
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;
}  // namespace box

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // --- building and tearing down (driven by LoadWindow / CloseWindow) ---
  // Creates the top-level window, not yet shown. `ownedByHiddenOwner`: no task-bar button.
  // A `modal` window has no minimise box: minimised, it would leave the windows it disables with
  // nothing on the screen to restore it by.
  virtual bool CreateFrame(const WindowDefinition& window, bool ownedByHiddenOwner, bool modal) = 0;
  // Creates control `index` hidden, as a child of the window itself.
  virtual bool CreateControl(const WindowDefinition& window, int index) = 0;
  // Moves control `index` into the group box `containerIndex`, keeping its relative position.
  virtual void MoveIntoContainer(const WindowDefinition& window, int index, int containerIndex) = 0;
  // Orders the controls of every container by definition order (the tab order).
  virtual void OrderControls(const WindowDefinition& window) = 0;
  virtual void ShowFrame(const WindowDefinition& window) = 0;
  virtual void ActivateOrRestore(const WindowDefinition& window) = 0;
  virtual void SetFrameEnabled(const WindowDefinition& window, bool enabled) = 0;
  virtual bool IsFrameEnabled(const WindowDefinition& window) const = 0;
  // The caption bar text, and the outer rectangle in screen coordinates.
  virtual Text FrameTitle(const WindowDefinition& window) const = 0;
  virtual void SetFrameTitle(const WindowDefinition& window, const Text& title) = 0;
  virtual Rect FrameRect(const WindowDefinition& window) const = 0;
  virtual void MoveFrame(const WindowDefinition& window, Point topLeft) = 0;
  // Asks for destruction when the message loop next runs.
  virtual void PostClose(const WindowDefinition& window) = 0;
  // Destroys at once; the backend calls WindowDestroying before the controls go.
  virtual void DestroyNow(const WindowDefinition& window) = 0;

  // --- message loops ---
  // Runs until QuitMessageLoop; returns the exit code.
  virtual int RunMessageLoop() = 0;
  virtual void QuitMessageLoop(int exitCode) = 0;
  // Runs until `window` is destroyed.
  virtual void RunModalLoop(const WindowDefinition& window) = 0;
  // Lets pending messages run (the window's own work queue included), then returns.
  virtual void ProcessPendingMessages() = 0;
  // Runs `work` on the user-interface thread; callable from any thread.
  virtual void PostToUiThread(std::function<void()> work) = 0;
  // Ends the process at once with `exitCode`, whatever windows are open.
  virtual void EndProgram(int exitCode) = 0;

  // --- talking to the user ---
  // Shows a message box and returns the answer (box::kAnswer...).
  virtual int AskUser(const Text& text, const Text& title, unsigned style) = 0;
  virtual void ShowBalloon(const WindowDefinition& window, int tipIndex, const Text& text,
                           Point screenPosition) = 0;
  // Takes the balloon down when it still shows `text` (a later balloon stays).
  virtual void HideBalloon(const WindowDefinition& window, int tipIndex, const Text& text) = 0;
  // Where a balloon of `window` about the user's last action points, in screen coordinates: the
  // mouse pointer when that action came from the mouse and the pointer is over the window;
  // otherwise just below the control of the window that has the keyboard focus (a list's current
  // row), or the window's middle.
  virtual Point TipPosition(const WindowDefinition& window) const = 0;
  // Shows a pop-up menu of `items` (an empty text is a separator) at a point in screen
  // coordinates, or beside control `index`'s current row for the point {-1, -1}; returns the
  // index of the chosen item, or -1 when the user chose none.
  virtual int ChooseFromMenu(const WindowDefinition& window, int index, std::span<const Text> items,
                             Point screenPosition) = 0;

  // --- control state ---
  virtual Text GetText(const WindowDefinition& window, int index) const = 0;
  virtual void SetText(const WindowDefinition& window, int index, const Text& text) = 0;
  virtual bool IsVisible(const WindowDefinition& window, int index) const = 0;
  virtual void SetVisible(const WindowDefinition& window, int index, bool visible) = 0;
  virtual bool IsEnabled(const WindowDefinition& window, int index) const = 0;
  virtual void SetEnabled(const WindowDefinition& window, int index, bool enabled) = 0;
  // The keyboard focus to control `index`, now or at the window's next activation.
  virtual void FocusControl(const WindowDefinition& window, int index, bool selectAll) = 0;
  virtual bool IsChecked(const WindowDefinition& window, int index) const = 0;
  virtual void SetChecked(const WindowDefinition& window, int index, bool checked) = 0;
  virtual int SliderPosition(const WindowDefinition& window, int index) const = 0;
  virtual void SetSliderPosition(const WindowDefinition& window, int index, int position) = 0;
  virtual void SetSliderRange(const WindowDefinition& window, int index, int minimum,
                              int maximum) = 0;

  // List views: rows hold cells of text (any column index, shown or not), an image and a
  // check box.
  virtual int RowCount(const WindowDefinition& window, int index) const = 0;
  virtual int AppendRow(const WindowDefinition& window, int index, const Text& text) = 0;
  virtual void DeleteAllRows(const WindowDefinition& window, int index) = 0;
  virtual void DeleteRow(const WindowDefinition& window, int index, int row) = 0;
  virtual Text CellText(const WindowDefinition& window, int index, int row, int cell) const = 0;
  virtual void SetCellText(const WindowDefinition& window, int index, int row, int cell,
                           const Text& text) = 0;
  virtual int RowImage(const WindowDefinition& window, int index, int row) const = 0;
  virtual void SetRowImage(const WindowDefinition& window, int index, int row, int image) = 0;
  virtual bool IsRowChecked(const WindowDefinition& window, int index, int row) const = 0;
  virtual void SetRowChecked(const WindowDefinition& window, int index, int row, bool checked) = 0;
  // The current (selected) row, or -1.
  virtual int CurrentRow(const WindowDefinition& window, int index) const = 0;
  virtual void SetCurrentRow(const WindowDefinition& window, int index, int row) = 0;
  virtual void EnsureRowVisible(const WindowDefinition& window, int index, int row) = 0;
  // The first row in view, and scrolling so that `row` comes first (as far as the list scrolls).
  virtual int TopRow(const WindowDefinition& window, int index) const = 0;
  virtual void ScrollToTopRow(const WindowDefinition& window, int index, int row) = 0;
  // Shows the rows ordered by `cell` (numerically when `numeric`), rows with equal cells in the
  // order they were added. Only the view changes: every row keeps its number until the rows are
  // deleted, so that what is read and written by row number stays the same row.
  virtual void SortRows(const WindowDefinition& window, int index, int cell, bool ascending,
                        bool numeric) = 0;
};

}  // namespace lumora::forms
