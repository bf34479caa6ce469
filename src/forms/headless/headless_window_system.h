// An in-memory window system for tests: keeps control state, records message boxes and
// balloon tips, answers Yes/No boxes from a script, and drives controls as a user would.
#pragma once

#include <climits>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "forms/window_system.h"

namespace lumora::forms {

class HeadlessWindowSystem : public WindowSystem {
 public:
  // RunMessageLoop's result when the loop would wait for input that no test will give.
  static constexpr int kIdle = INT_MIN;

  struct MessageBoxRecord {
    Text text;
    Text title;
    unsigned style;
  };
  struct BalloonRecord {
    const WindowDefinition* window;
    Text text;
    Point position;
  };

  // --- what the program did ---
  const std::vector<MessageBoxRecord>& MessageBoxes() const { return messageBoxes_; }
  const std::vector<BalloonRecord>& Balloons() const { return balloons_; }
  std::optional<int> EndedWith() const { return endedWith_; }
  bool IsShown(const WindowDefinition& window) const;
  // Windows in the order they were first shown or created, by name, for lifecycle checks.
  const std::vector<Text>& CreatedWindows() const { return createdWindows_; }
  // How many modal loops ended with their window still open because no script closed it.
  int ModalWindowsLeftOpen() const { return modalWindowsLeftOpen_; }

  // --- scripting the user ---
  // Answers for the coming message boxes, in order; without one a box answers OK (or No).
  void QueueAnswers(std::vector<int> answers);
  // Runs when the next modal loop starts, with the modal window loaded and shown.
  void QueueModalScript(std::function<void()> script);
  void SetCursorPosition(Point position) { cursor_ = position; }
  // The item the user picks from the next pop-up menu; without one the menu is dismissed.
  void QueueMenuChoice(int item) { menuChoices_.push_back(item); }
  // The items of every pop-up menu shown, in order.
  const std::vector<std::vector<Text>>& Menus() const { return menus_; }
  // New windows are centred on a screen of this size.
  static constexpr int kScreenWidth = 1024;
  static constexpr int kScreenHeight = 768;

  // --- drivers: each acts only on a shown, enabled window and a visible, enabled control,
  // and returns whether the action reached the control ---
  bool Click(const WindowDefinition& window, std::string_view control);
  bool Type(const WindowDefinition& window, std::string_view control, const Text& text);
  bool DragSlider(const WindowDefinition& window, std::string_view control, int position);
  bool ClickToolbarButton(const WindowDefinition& window, std::string_view toolbar, int button);
  // Row -1 is a click on the empty part of the list: the selection is cleared.
  bool ClickRow(const WindowDefinition& window, std::string_view list, int row);
  bool DoubleClickRow(const WindowDefinition& window, std::string_view list, int row);
  bool TickRow(const WindowDefinition& window, std::string_view list, int row, bool ticked);
  // The user closes the window with its close box.
  bool CloseBox(const WindowDefinition& window);
  // The user presses key `virtualKey` with the focus in `control`.
  bool PressKey(const WindowDefinition& window, std::string_view control, int virtualKey,
                int keyState = 0);
  // The menu key on `control`, which has the focus.
  bool PressMenuKey(const WindowDefinition& window, std::string_view control);
  // The control that has (or gets at the window's next activation) the focus; -1 for none. And
  // whether its text was selected when it got it.
  int FocusedControl(const WindowDefinition& window) const;
  bool FocusSelectedAll(const WindowDefinition& window) const;
  // Carries out posted closes and work posted from other threads.
  void Pump();

  // --- WindowSystem ---
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
  void HideBalloon(const WindowDefinition& window, int tipIndex, const Text& text) override;
  void ShowBalloon(const WindowDefinition& window, int tipIndex, const Text& text,
                   Point screenPosition) override;
  Point TipPosition(const WindowDefinition&) const override { return cursor_; }
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

  // The last row scrolled into view, or -1.
  int LastRowMadeVisible(const WindowDefinition& window, std::string_view list) const;
  // How a list was last sorted: its cell, ascending, numeric; a cell of -1 when never.
  struct ListSort {
    int cell = -1;
    bool ascending = true;
    bool numeric = false;
  };
  ListSort LastSort(const WindowDefinition& window, std::string_view list) const;

 private:
  struct Row {
    std::map<int, Text> cells;
    int image = -1;
    bool checked = false;
  };
  struct ControlState {
    bool created = false;
    Text text;
    bool visible = false;
    bool enabled = true;
    bool checked = false;
    int minimum = 0, maximum = 0, position = 0;
    std::vector<Row> rows;
    int currentRow = -1;
    int lastMadeVisible = -1;
    int topRow = 0;
    ListSort sort;
  };
  struct FrameState {
    int instance = 0;
    bool shown = false;
    bool enabled = true;
    Text title;
    Rect rect;
    std::vector<ControlState> controls;
    int focus = -1;
    bool focusSelectedAll = false;
  };
  struct PendingClose {
    const WindowDefinition* window;
    int instance;
  };

  FrameState* Frame(const WindowDefinition& window);
  const FrameState* Frame(const WindowDefinition& window) const;
  ControlState* State(const WindowDefinition& window, int index);
  const ControlState* State(const WindowDefinition& window, int index) const;
  Row* RowAt(const WindowDefinition& window, int index, int row);
  const Row* RowAt(const WindowDefinition& window, int index, int row) const;
  // The control a driver may act on, or -1 when the window or control cannot take input.
  int Reachable(const WindowDefinition& window, std::string_view control) const;
  // Raises the common mouse events of a click; false when a handler kept the control from it.
  bool PressAndRelease(const WindowDefinition& window, int index);

  std::map<const WindowDefinition*, FrameState> frames_;
  int nextInstance_ = 1;
  std::vector<PendingClose> pendingCloses_;
  std::mutex postedMutex_;
  std::deque<std::function<void()>> posted_;
  std::optional<int> quitCode_;
  std::optional<int> endedWith_;
  std::vector<MessageBoxRecord> messageBoxes_;
  std::deque<int> answers_;
  std::vector<BalloonRecord> balloons_;
  std::deque<int> menuChoices_;
  std::vector<std::vector<Text>> menus_;
  std::deque<std::function<void()>> modalScripts_;
  std::vector<Text> createdWindows_;
  int modalWindowsLeftOpen_ = 0;
  Point cursor_{100, 100};
};

}  // namespace lumora::forms
