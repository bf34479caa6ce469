// The window model: loading and closing windows from their definitions, delivering events
// through binding tables, the modal loop, program lifetime and fatal errors. One model per
// process, over one installed backend.
#pragma once

#include <exception>
#include <optional>
#include <span>
#include <string_view>

#include "base/text.h"
#include "forms/events.h"
#include "forms/window_definition.h"
#include "forms/window_system.h"

namespace lumora::forms {

// Installs the backend every later call goes through, and forgets every loaded window,
// binding and fatal error of an earlier installation (tests install a fresh one each time).
void InstallWindowSystem(WindowSystem& system);
WindowSystem& System();

// The windows the program knows; an event naming any other window is a fatal error.
void RegisterWindow(const WindowDefinition& window, std::span<const EventBinding> bindings);

bool LoadWindow(const WindowDefinition& window, bool modal = false);
void CloseWindow(const WindowDefinition& window);
bool IsLoaded(const WindowDefinition& window);
// The caption text and the outer rectangle (screen coordinates) of a loaded window; empty when
// it is not loaded.
Text WindowTitle(const WindowDefinition& window);
void SetWindowTitle(const WindowDefinition& window, const Text& title);
Rect WindowRect(const WindowDefinition& window);
void MoveWindowTo(const WindowDefinition& window, Point topLeft);
bool IsClosing(const WindowDefinition& window);

// Called by the backends only. `control` empty: the window itself.
HandlerResult RaiseEvent(std::string_view window, std::string_view control, int event,
                         EventArgs args = {});
// Called by a backend while `window` is destroyed, before its controls go.
void WindowDestroying(const WindowDefinition& window);

// The (window, control) whose event is being handled; control is nullptr for the window.
struct EventSource {
  const WindowDefinition* window = nullptr;
  const char* control = nullptr;
};
EventSource CurrentEventSource();

// Runs the program's message loop after the start-up routine: returns at once when no window
// is loaded, otherwise when the last one is destroyed. Returns the exit code.
int RunProgram();
// Ends the program at once with `exitCode`; the model then drops every later event and load.
void EndProgram(int exitCode);
bool ProgramEnded();

// Shows "运行时出错!" with the code and message, then ends the program with exit code -1.
void FatalError(const Text& message, std::optional<int> errorCode = std::nullopt);

// The fatal-error message for an exception that escaped a handler or a thread's work:
// "未处理的异常", with its own text where it has one.
Text ExceptionText(const std::exception_ptr& escaped);

// Message box, task-modal and without owner; the default title is "信息：".
int ShowMessageBox(const Text& text, unsigned style = box::kOk, const Text& title = "信息：");

// A live control of a loaded window, addressed by name. Naming a control that does not exist
// or a window that is not loaded is a fatal error; the handle then reads empty and ignores
// writes.
class Control {
 public:
  Control(const WindowDefinition& window, std::string_view name);

  bool Valid() const { return index_ >= 0; }
  const ControlDefinition& Definition() const;

  Text GetText() const;
  void SetText(const Text& text);
  bool Visible() const;
  void SetVisible(bool visible);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  bool Checked() const;
  void SetChecked(bool checked);
  int SliderPosition() const;
  void SetSliderPosition(int position);
  void SetSliderRange(int minimum, int maximum);

  int RowCount() const;
  int AppendRow(const Text& text);
  void DeleteAllRows();
  void DeleteRow(int row);
  Text CellText(int row, int cell) const;
  void SetCellText(int row, int cell, const Text& text);
  int RowImage(int row) const;
  void SetRowImage(int row, int image);
  bool RowChecked(int row) const;
  void SetRowChecked(int row, bool checked);
  int CurrentRow() const;
  void SetCurrentRow(int row);
  void EnsureRowVisible(int row);
  int TopRow() const;
  void ScrollToTopRow(int row);
  void SortRows(int cell, bool ascending, bool numeric);

  // Balloon tip: shows `text` at a point in screen coordinates; takes it down when it still
  // shows `text`.
  void ShowBalloon(const Text& text, Point screenPosition);
  void HideBalloon(const Text& text);

  // A pop-up menu over the control (see WindowSystem::ChooseFromMenu): the chosen item's index,
  // or -1.
  int ChooseFromMenu(std::span<const Text> items, Point screenPosition);

  // Puts the keyboard focus here (now, or when the window is next active); with `selectAll` an
  // edit box's text is selected, so that typing replaces it.
  void Focus(bool selectAll = false);

 private:
  const WindowDefinition* window_ = nullptr;
  int index_ = -1;
};

// Shows `text` in `window`'s balloon tip "气球提示框1", without an icon, where the user looks
// (WindowSystem::TipPosition).
void ShowBalloonTip(const WindowDefinition& window, const Text& text);

// Index of the control named `name` in `window`'s definition, or -1.
int FindControlIndex(const WindowDefinition& window, std::string_view name);

}  // namespace lumora::forms
