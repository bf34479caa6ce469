// The window system of the real program: top-level windows and common controls.
#pragma once

#include <memory>

#include "forms/window_system.h"

namespace lumora::forms {

namespace win32 {
struct BackendState;
}

// Runs on the thread that constructs it (the user-interface thread); state calls from other
// threads are carried out on that thread. One instance at a time.
class Win32WindowSystem final : public WindowSystem {
 public:
  Win32WindowSystem();
  ~Win32WindowSystem() override;
  Win32WindowSystem(const Win32WindowSystem&) = delete;
  Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

  // The native window (HWND) of a loaded window or of one of its controls, or null; for tests
  // that drive the controls as the user would.
  void* FrameHandle(const WindowDefinition& window) const;
  void* ControlHandle(const WindowDefinition& window, int index) const;

  bool CreateFrame(const WindowDefinition& window, bool ownedByHiddenOwner, bool modal) override;
  bool CreateControl(const WindowDefinition& window, int index) override;
  void MoveIntoContainer(const WindowDefinition& window, int index, int containerIndex) override;
  void OrderControls(const WindowDefinition& window) override;
  void ShowFrame(const WindowDefinition& window) override;
  void ActivateOrRestore(const WindowDefinition& window) override;
  void SetFrameEnabled(const WindowDefinition& window, bool enabled) override;
  bool IsFrameEnabled(const WindowDefinition& window) const override;
  Text FrameTitle(const WindowDefinition& window) const override;
  void SetFrameTitle(const WindowDefinition& window, const Text& title) override;
  Rect FrameRect(const WindowDefinition& window) const override;
  void MoveFrame(const WindowDefinition& window, Point topLeft) override;
  void PostClose(const WindowDefinition& window) override;
  void DestroyNow(const WindowDefinition& window) override;

  int RunMessageLoop() override;
  void QuitMessageLoop(int exitCode) override;
  void RunModalLoop(const WindowDefinition& window) override;
  void ProcessPendingMessages() override;
  void PostToUiThread(std::function<void()> work) override;
  void EndProgram(int exitCode) override;

  int AskUser(const Text& text, const Text& title, unsigned style) override;
  void ShowBalloon(const WindowDefinition& window, int tipIndex, const Text& text,
                   Point screenPosition) override;
  Point TipPosition(const WindowDefinition& window) const override;
  void HideBalloon(const WindowDefinition& window, int tipIndex, const Text& text) override;
  int ChooseFromMenu(const WindowDefinition& window, int index, std::span<const Text> items,
                     Point screenPosition) override;

  Text GetText(const WindowDefinition& window, int index) const override;
  void SetText(const WindowDefinition& window, int index, const Text& text) override;
  bool IsVisible(const WindowDefinition& window, int index) const override;
  void SetVisible(const WindowDefinition& window, int index, bool visible) override;
  bool IsEnabled(const WindowDefinition& window, int index) const override;
  void SetEnabled(const WindowDefinition& window, int index, bool enabled) override;
  void FocusControl(const WindowDefinition& window, int index, bool selectAll) override;
  bool IsChecked(const WindowDefinition& window, int index) const override;
  void SetChecked(const WindowDefinition& window, int index, bool checked) override;
  int SliderPosition(const WindowDefinition& window, int index) const override;
  void SetSliderPosition(const WindowDefinition& window, int index, int position) override;
  void SetSliderRange(const WindowDefinition& window, int index, int minimum, int maximum) override;

  int RowCount(const WindowDefinition& window, int index) const override;
  int AppendRow(const WindowDefinition& window, int index, const Text& text) override;
  void DeleteAllRows(const WindowDefinition& window, int index) override;
  void DeleteRow(const WindowDefinition& window, int index, int row) override;
  Text CellText(const WindowDefinition& window, int index, int row, int cell) const override;
  void SetCellText(const WindowDefinition& window, int index, int row, int cell,
                   const Text& text) override;
  int RowImage(const WindowDefinition& window, int index, int row) const override;
  void SetRowImage(const WindowDefinition& window, int index, int row, int image) override;
  bool IsRowChecked(const WindowDefinition& window, int index, int row) const override;
  void SetRowChecked(const WindowDefinition& window, int index, int row, bool checked) override;
  int CurrentRow(const WindowDefinition& window, int index) const override;
  void SetCurrentRow(const WindowDefinition& window, int index, int row) override;
  void EnsureRowVisible(const WindowDefinition& window, int index, int row) override;
  int TopRow(const WindowDefinition& window, int index) const override;
  void ScrollToTopRow(const WindowDefinition& window, int index, int row) override;
  void SortRows(const WindowDefinition& window, int index, int cell, bool ascending,
                bool numeric) override;

 private:
  std::unique_ptr<win32::BackendState> state_;
};

}  // namespace lumora::forms
