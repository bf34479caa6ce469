#include "forms/headless/headless_window_system.h"

#include <algorithm>
#include <array>

#include "forms/events.h"
#include "forms/window_model.h"

namespace lumora::forms {

HeadlessWindowSystem::FrameState* HeadlessWindowSystem::Frame(const WindowDefinition& window) {
  const auto found = frames_.find(&window);
  return found == frames_.end() ? nullptr : &found->second;
}

const HeadlessWindowSystem::FrameState* HeadlessWindowSystem::Frame(
    const WindowDefinition& window) const {
  const auto found = frames_.find(&window);
  return found == frames_.end() ? nullptr : &found->second;
}

HeadlessWindowSystem::ControlState* HeadlessWindowSystem::State(const WindowDefinition& window,
                                                                int index) {
  FrameState* frame = Frame(window);
  if (frame == nullptr || index < 0 || index >= static_cast<int>(frame->controls.size())) {
    return nullptr;
  }
  return &frame->controls[index];
}

const HeadlessWindowSystem::ControlState* HeadlessWindowSystem::State(
    const WindowDefinition& window, int index) const {
  const FrameState* frame = Frame(window);
  if (frame == nullptr || index < 0 || index >= static_cast<int>(frame->controls.size())) {
    return nullptr;
  }
  return &frame->controls[index];
}

HeadlessWindowSystem::Row* HeadlessWindowSystem::RowAt(const WindowDefinition& window, int index,
                                                       int row) {
  ControlState* state = State(window, index);
  if (state == nullptr || row < 0 || row >= static_cast<int>(state->rows.size())) {
    return nullptr;
  }
  return &state->rows[row];
}

const HeadlessWindowSystem::Row* HeadlessWindowSystem::RowAt(const WindowDefinition& window,
                                                             int index, int row) const {
  const ControlState* state = State(window, index);
  if (state == nullptr || row < 0 || row >= static_cast<int>(state->rows.size())) {
    return nullptr;
  }
  return &state->rows[row];
}

bool HeadlessWindowSystem::IsShown(const WindowDefinition& window) const {
  const FrameState* frame = Frame(window);
  return frame != nullptr && frame->shown;
}

void HeadlessWindowSystem::QueueAnswers(std::vector<int> answers) {
  answers_.insert(answers_.end(), answers.begin(), answers.end());
}

void HeadlessWindowSystem::QueueModalScript(std::function<void()> script) {
  modalScripts_.push_back(std::move(script));
}

// --- drivers ---

int HeadlessWindowSystem::Reachable(const WindowDefinition& window,
                                    std::string_view control) const {
  const FrameState* frame = Frame(window);
  if (frame == nullptr || !frame->shown || !frame->enabled || !IsLoaded(window)) {
    return -1;
  }
  const int index = FindControlIndex(window, control);
  if (index < 0 || IsNonVisual(window.controls[index].kind)) {
    return -1;
  }
  const ControlState& state = frame->controls[index];
  if (!state.visible || !state.enabled) {
    return -1;
  }
  // A control inside a hidden or disabled group box cannot be reached either.
  if (const char* container = window.controls[index].container) {
    const int containerIndex = FindControlIndex(window, container);
    if (containerIndex >= 0 &&
        !(frame->controls[containerIndex].visible && frame->controls[containerIndex].enabled)) {
      return -1;
    }
  }
  return index;
}

bool HeadlessWindowSystem::PressAndRelease(const WindowDefinition& window, int index) {
  const std::array<int, 3> args{1, 1, 0};
  const char* name = window.controls[index].name;
  if (RaiseEvent(window.name, name, event::kLeftDown, args) == 0) {
    return false;
  }
  return RaiseEvent(window.name, name, event::kLeftUp, args) != 0;
}

bool HeadlessWindowSystem::Click(const WindowDefinition& window, std::string_view control) {
  const int index = Reachable(window, control);
  if (index < 0) {
    return false;
  }
  const ControlDefinition& definition = window.controls[index];
  if (!PressAndRelease(window, index)) {
    return true;
  }
  switch (definition.kind) {
    case ControlKind::kCheckBox:
      SetChecked(window, index, !IsChecked(window, index));
      break;
    case ControlKind::kRadioButton:
      SetChecked(window, index, true);
      break;
    case ControlKind::kButton:
      break;
    default:
      return true;  // kinds without a click event of their own
  }
  RaiseEvent(window.name, definition.name, event::kClicked);
  return true;
}

bool HeadlessWindowSystem::Type(const WindowDefinition& window, std::string_view control,
                                const Text& text) {
  const int index = Reachable(window, control);
  if (index < 0 || window.controls[index].kind != ControlKind::kEditBox ||
      window.controls[index].properties.input == InputMode::kReadOnly) {
    return false;
  }
  const int maxLength = window.controls[index].properties.maxLength;
  SetText(window, index, maxLength > 0 ? text.substr(0, maxLength) : text);
  return true;
}

bool HeadlessWindowSystem::DragSlider(const WindowDefinition& window, std::string_view control,
                                      int position) {
  const int index = Reachable(window, control);
  if (index < 0 || window.controls[index].kind != ControlKind::kSlider) {
    return false;
  }
  SetSliderPosition(window, index, position);
  RaiseEvent(window.name, window.controls[index].name, event::kChanged);
  return true;
}

bool HeadlessWindowSystem::ClickToolbarButton(const WindowDefinition& window,
                                              std::string_view toolbar, int button) {
  const int index = Reachable(window, toolbar);
  if (index < 0 || window.controls[index].kind != ControlKind::kToolbar) {
    return false;
  }
  const auto buttons = window.controls[index].properties.buttons;
  if (button < 0 || button >= static_cast<int>(buttons.size()) || buttons[button].hidden ||
      !buttons[button].enabled) {
    return false;
  }
  const std::array<int, 1> args{button};
  RaiseEvent(window.name, window.controls[index].name, event::kClicked, args);
  return true;
}

bool HeadlessWindowSystem::ClickRow(const WindowDefinition& window, std::string_view list,
                                    int row) {
  const int index = Reachable(window, list);
  if (index < 0 || window.controls[index].kind != ControlKind::kListView ||
      row >= RowCount(window, index)) {
    return false;
  }
  SetCurrentRow(window, index, row);
  if (PressAndRelease(window, index)) {
    RaiseEvent(window.name, window.controls[index].name, event::kListLeftClick);
  }
  return true;
}

bool HeadlessWindowSystem::DoubleClickRow(const WindowDefinition& window, std::string_view list,
                                          int row) {
  if (!ClickRow(window, list, row)) {
    return false;
  }
  const int index = FindControlIndex(window, list);
  if (!IsLoaded(window)) {
    return true;
  }
  const std::array<int, 3> args{1, 1, 0};
  RaiseEvent(window.name, window.controls[index].name, event::kDoubleClick, args);
  return true;
}

bool HeadlessWindowSystem::TickRow(const WindowDefinition& window, std::string_view list, int row,
                                   bool ticked) {
  const int index = Reachable(window, list);
  if (index < 0 || window.controls[index].kind != ControlKind::kListView ||
      !window.controls[index].properties.checkBoxes || RowAt(window, index, row) == nullptr) {
    return false;
  }
  SetRowChecked(window, index, row, ticked);
  return true;
}

bool HeadlessWindowSystem::CloseBox(const WindowDefinition& window) {
  const FrameState* frame = Frame(window);
  if (frame == nullptr || !frame->shown || !frame->enabled || !window.closable) {
    return false;
  }
  DestroyNow(window);
  return true;
}

void HeadlessWindowSystem::Pump() {
  for (;;) {
    if (!pendingCloses_.empty()) {
      const PendingClose close = pendingCloses_.front();
      pendingCloses_.erase(pendingCloses_.begin());
      const FrameState* frame = Frame(*close.window);
      if (frame != nullptr && frame->instance == close.instance) {
        DestroyNow(*close.window);
      }
      continue;
    }
    std::function<void()> work;
    {
      std::lock_guard lock(postedMutex_);
      if (posted_.empty()) {
        return;
      }
      work = std::move(posted_.front());
      posted_.pop_front();
    }
    work();
  }
}

// --- building and tearing down ---

bool HeadlessWindowSystem::CreateFrame(const WindowDefinition& window, bool, bool) {
  FrameState frame;
  frame.instance = nextInstance_++;
  frame.controls.resize(window.controls.size());
  frame.title = window.title;
  frame.rect = {(kScreenWidth - window.rect.width) / 2, (kScreenHeight - window.rect.height) / 2,
                window.rect.width, window.rect.height};
  frames_[&window] = std::move(frame);
  createdWindows_.emplace_back(window.name);
  return true;
}

bool HeadlessWindowSystem::CreateControl(const WindowDefinition& window, int index) {
  ControlState* state = State(window, index);
  if (state == nullptr) {
    return false;
  }
  const ControlProperties& properties = window.controls[index].properties;
  state->created = true;
  state->text = properties.text;
  state->enabled = window.controls[index].enabled;
  state->checked = properties.checked;
  state->minimum = properties.minimum;
  state->maximum = properties.maximum;
  state->position = properties.position;
  return true;
}

void HeadlessWindowSystem::MoveIntoContainer(const WindowDefinition&, int, int) {}

void HeadlessWindowSystem::OrderControls(const WindowDefinition&) {}

void HeadlessWindowSystem::ShowFrame(const WindowDefinition& window) {
  if (FrameState* frame = Frame(window)) {
    frame->shown = true;
  }
}

void HeadlessWindowSystem::ActivateOrRestore(const WindowDefinition& window) {
  ShowFrame(window);
}

void HeadlessWindowSystem::SetFrameEnabled(const WindowDefinition& window, bool enabled) {
  if (FrameState* frame = Frame(window)) {
    frame->enabled = enabled;
  }
}

bool HeadlessWindowSystem::IsFrameEnabled(const WindowDefinition& window) const {
  const FrameState* frame = Frame(window);
  return frame != nullptr && frame->enabled;
}

Text HeadlessWindowSystem::FrameTitle(const WindowDefinition& window) const {
  const FrameState* frame = Frame(window);
  return frame == nullptr ? Text() : frame->title;
}

void HeadlessWindowSystem::SetFrameTitle(const WindowDefinition& window, const Text& title) {
  if (FrameState* frame = Frame(window)) {
    frame->title = title;
  }
}

Rect HeadlessWindowSystem::FrameRect(const WindowDefinition& window) const {
  const FrameState* frame = Frame(window);
  return frame == nullptr ? Rect() : frame->rect;
}

void HeadlessWindowSystem::MoveFrame(const WindowDefinition& window, Point topLeft) {
  if (FrameState* frame = Frame(window)) {
    frame->rect.left = topLeft.x;
    frame->rect.top = topLeft.y;
  }
}

void HeadlessWindowSystem::PostClose(const WindowDefinition& window) {
  if (const FrameState* frame = Frame(window)) {
    pendingCloses_.push_back({&window, frame->instance});
  }
}

void HeadlessWindowSystem::DestroyNow(const WindowDefinition& window) {
  if (Frame(window) == nullptr) {
    return;
  }
  WindowDestroying(window);
  frames_.erase(&window);
}

// --- loops ---

int HeadlessWindowSystem::RunMessageLoop() {
  Pump();
  if (quitCode_) {
    const int code = *quitCode_;
    quitCode_.reset();
    return code;
  }
  return kIdle;
}

void HeadlessWindowSystem::QuitMessageLoop(int exitCode) {
  quitCode_ = exitCode;
}

void HeadlessWindowSystem::RunModalLoop(const WindowDefinition& window) {
  if (!modalScripts_.empty()) {
    std::function<void()> script = std::move(modalScripts_.front());
    modalScripts_.pop_front();
    script();
  }
  Pump();
  if (Frame(window) != nullptr && !endedWith_) {
    ++modalWindowsLeftOpen_;
    DestroyNow(window);
  }
}

void HeadlessWindowSystem::ProcessPendingMessages() {
  Pump();
}

void HeadlessWindowSystem::PostToUiThread(std::function<void()> work) {
  std::lock_guard lock(postedMutex_);
  posted_.push_back(std::move(work));
}

void HeadlessWindowSystem::EndProgram(int exitCode) {
  endedWith_ = exitCode;
  quitCode_ = exitCode;
  frames_.clear();
  pendingCloses_.clear();
}

// --- talking to the user ---

int HeadlessWindowSystem::AskUser(const Text& text, const Text& title, unsigned style) {
  messageBoxes_.push_back({text, title, style});
  if (!answers_.empty()) {
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  return (style & 0xF) == box::kYesNo ? box::kAnswerNo : box::kAnswerOk;
}

int HeadlessWindowSystem::ChooseFromMenu(const WindowDefinition&, int, std::span<const Text> items,
                                         Point) {
  menus_.emplace_back(items.begin(), items.end());
  if (menuChoices_.empty()) {
    return -1;
  }
  const int choice = menuChoices_.front();
  menuChoices_.pop_front();
  return choice;
}

// Nothing is on screen here; the record of what was shown stays.
void HeadlessWindowSystem::HideBalloon(const WindowDefinition&, int, const Text&) {}

void HeadlessWindowSystem::ShowBalloon(const WindowDefinition& window, int, const Text& text,
                                       Point screenPosition) {
  balloons_.push_back({&window, text, screenPosition});
}

// --- control state ---

Text HeadlessWindowSystem::GetText(const WindowDefinition& window, int index) const {
  const ControlState* state = State(window, index);
  return state == nullptr ? Text() : state->text;
}

void HeadlessWindowSystem::SetText(const WindowDefinition& window, int index, const Text& text) {
  if (ControlState* state = State(window, index)) {
    state->text = text;
  }
}

bool HeadlessWindowSystem::IsVisible(const WindowDefinition& window, int index) const {
  const ControlState* state = State(window, index);
  return state != nullptr && state->visible;
}

void HeadlessWindowSystem::SetVisible(const WindowDefinition& window, int index, bool visible) {
  if (ControlState* state = State(window, index)) {
    state->visible = visible;
  }
}

bool HeadlessWindowSystem::IsEnabled(const WindowDefinition& window, int index) const {
  const ControlState* state = State(window, index);
  return state != nullptr && state->enabled;
}

void HeadlessWindowSystem::FocusControl(const WindowDefinition& window, int index, bool selectAll) {
  if (FrameState* frame = Frame(window); frame != nullptr && State(window, index) != nullptr) {
    frame->focus = index;
    frame->focusSelectedAll = selectAll;
  }
}

int HeadlessWindowSystem::FocusedControl(const WindowDefinition& window) const {
  const FrameState* frame = Frame(window);
  return frame != nullptr ? frame->focus : -1;
}

bool HeadlessWindowSystem::FocusSelectedAll(const WindowDefinition& window) const {
  const FrameState* frame = Frame(window);
  return frame != nullptr && frame->focusSelectedAll;
}

bool HeadlessWindowSystem::PressKey(const WindowDefinition& window, std::string_view control,
                                    int virtualKey, int keyState) {
  const int index = Reachable(window, control);
  if (index < 0) {
    return false;
  }
  const int args[] = {virtualKey, keyState};
  RaiseEvent(window.name, window.controls[index].name, event::kKeyDown, args);
  return true;
}

bool HeadlessWindowSystem::PressMenuKey(const WindowDefinition& window, std::string_view control) {
  const int index = Reachable(window, control);
  if (index < 0) {
    return false;
  }
  const int args[] = {-1, -1};
  RaiseEvent(window.name, window.controls[index].name, event::kContextMenu, args);
  return true;
}

void HeadlessWindowSystem::SetEnabled(const WindowDefinition& window, int index, bool enabled) {
  if (ControlState* state = State(window, index)) {
    state->enabled = enabled;
  }
}

bool HeadlessWindowSystem::IsChecked(const WindowDefinition& window, int index) const {
  const ControlState* state = State(window, index);
  return state != nullptr && state->checked;
}

void HeadlessWindowSystem::SetChecked(const WindowDefinition& window, int index, bool checked) {
  ControlState* state = State(window, index);
  if (state == nullptr) {
    return;
  }
  state->checked = checked;
  const ControlDefinition& definition = window.controls[index];
  if (!checked || definition.kind != ControlKind::kRadioButton) {
    return;
  }
  // Radio buttons are exclusive within their container only.
  const std::string_view container = definition.container ? definition.container : "";
  for (std::size_t other = 0; other < window.controls.size(); ++other) {
    const ControlDefinition& candidate = window.controls[other];
    const std::string_view candidateContainer = candidate.container ? candidate.container : "";
    if (static_cast<int>(other) != index && candidate.kind == ControlKind::kRadioButton &&
        candidateContainer == container) {
      Frame(window)->controls[other].checked = false;
    }
  }
}

int HeadlessWindowSystem::SliderPosition(const WindowDefinition& window, int index) const {
  const ControlState* state = State(window, index);
  return state == nullptr ? 0 : state->position;
}

void HeadlessWindowSystem::SetSliderPosition(const WindowDefinition& window, int index,
                                             int position) {
  if (ControlState* state = State(window, index)) {
    state->position = std::max(state->minimum, std::min(state->maximum, position));
  }
}

void HeadlessWindowSystem::SetSliderRange(const WindowDefinition& window, int index, int minimum,
                                          int maximum) {
  if (ControlState* state = State(window, index)) {
    state->minimum = minimum;
    state->maximum = maximum;
    state->position = std::max(minimum, std::min(maximum, state->position));
  }
}

int HeadlessWindowSystem::RowCount(const WindowDefinition& window, int index) const {
  const ControlState* state = State(window, index);
  return state == nullptr ? 0 : static_cast<int>(state->rows.size());
}

int HeadlessWindowSystem::AppendRow(const WindowDefinition& window, int index, const Text& text) {
  ControlState* state = State(window, index);
  if (state == nullptr) {
    return -1;
  }
  Row row;
  row.cells[0] = text;
  state->rows.push_back(std::move(row));
  return static_cast<int>(state->rows.size()) - 1;
}

void HeadlessWindowSystem::DeleteAllRows(const WindowDefinition& window, int index) {
  if (ControlState* state = State(window, index)) {
    state->rows.clear();
    state->currentRow = -1;
    state->topRow = 0;
  }
}

void HeadlessWindowSystem::DeleteRow(const WindowDefinition& window, int index, int row) {
  ControlState* state = State(window, index);
  if (state == nullptr || RowAt(window, index, row) == nullptr) {
    return;
  }
  state->rows.erase(state->rows.begin() + row);
  if (state->currentRow == row) {
    state->currentRow = -1;
  } else if (state->currentRow > row) {
    --state->currentRow;
  }
}

Text HeadlessWindowSystem::CellText(const WindowDefinition& window, int index, int row,
                                    int cell) const {
  const Row* found = RowAt(window, index, row);
  if (found == nullptr) {
    return {};
  }
  const auto text = found->cells.find(cell);
  return text == found->cells.end() ? Text() : text->second;
}

void HeadlessWindowSystem::SetCellText(const WindowDefinition& window, int index, int row, int cell,
                                       const Text& text) {
  if (Row* found = RowAt(window, index, row)) {
    found->cells[cell] = text;
  }
}

int HeadlessWindowSystem::RowImage(const WindowDefinition& window, int index, int row) const {
  const Row* found = RowAt(window, index, row);
  return found == nullptr ? -1 : found->image;
}

void HeadlessWindowSystem::SetRowImage(const WindowDefinition& window, int index, int row,
                                       int image) {
  if (Row* found = RowAt(window, index, row)) {
    found->image = image;
  }
}

bool HeadlessWindowSystem::IsRowChecked(const WindowDefinition& window, int index, int row) const {
  const Row* found = RowAt(window, index, row);
  return found != nullptr && found->checked;
}

void HeadlessWindowSystem::SetRowChecked(const WindowDefinition& window, int index, int row,
                                         bool checked) {
  if (Row* found = RowAt(window, index, row)) {
    found->checked = checked;
  }
}

int HeadlessWindowSystem::CurrentRow(const WindowDefinition& window, int index) const {
  const ControlState* state = State(window, index);
  return state == nullptr ? -1 : state->currentRow;
}

void HeadlessWindowSystem::SetCurrentRow(const WindowDefinition& window, int index, int row) {
  if (ControlState* state = State(window, index)) {
    state->currentRow = row >= 0 && row < static_cast<int>(state->rows.size()) ? row : -1;
  }
}

void HeadlessWindowSystem::EnsureRowVisible(const WindowDefinition& window, int index, int row) {
  if (ControlState* state = State(window, index)) {
    state->lastMadeVisible = row;
  }
}

int HeadlessWindowSystem::TopRow(const WindowDefinition& window, int index) const {
  const ControlState* state = State(window, index);
  return state == nullptr ? 0 : state->topRow;
}

void HeadlessWindowSystem::ScrollToTopRow(const WindowDefinition& window, int index, int row) {
  if (ControlState* state = State(window, index)) {
    state->topRow = std::clamp(row, 0, std::max(0, static_cast<int>(state->rows.size()) - 1));
  }
}

// The rows have no order to show here: the sort is noted for the tests.
void HeadlessWindowSystem::SortRows(const WindowDefinition& window, int index, int cell,
                                    bool ascending, bool numeric) {
  if (ControlState* state = State(window, index)) {
    state->sort = {cell, ascending, numeric};
  }
}

HeadlessWindowSystem::ListSort HeadlessWindowSystem::LastSort(const WindowDefinition& window,
                                                              std::string_view list) const {
  const ControlState* state = State(window, FindControlIndex(window, list));
  return state == nullptr ? ListSort{} : state->sort;
}

int HeadlessWindowSystem::LastRowMadeVisible(const WindowDefinition& window,
                                             std::string_view list) const {
  const ControlState* state = State(window, FindControlIndex(window, list));
  return state == nullptr ? -1 : state->lastMadeVisible;
}

}  // namespace lumora::forms
