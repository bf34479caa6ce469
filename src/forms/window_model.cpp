#include "forms/window_model.h"

#include <algorithm>
#include <string>
#include <vector>

namespace lumora::forms {
namespace {

struct RegisteredWindow {
  const WindowDefinition* definition;
  std::span<const EventBinding> bindings;
};

struct LoadedWindow {
  const WindowDefinition* definition;
  bool closing = false;
};

struct ModelState {
  WindowSystem* system = nullptr;
  std::vector<RegisteredWindow> registered;
  std::vector<LoadedWindow> loaded;
  int suspensionCount = 0;
  EventSource currentSource;
  bool messageLoopRunning = false;
  bool ended = false;
  int exitCode = 0;
  bool reportingFatalError = false;
};

ModelState& State() {
  static ModelState state;
  return state;
}

const RegisteredWindow* FindRegistered(std::string_view name) {
  for (const auto& entry : State().registered) {
    if (name == entry.definition->name) {
      return &entry;
    }
  }
  return nullptr;
}

LoadedWindow* FindLoaded(const WindowDefinition& window) {
  for (auto& entry : State().loaded) {
    if (entry.definition == &window) {
      return &entry;
    }
  }
  return nullptr;
}

void ForgetLoaded(const WindowDefinition& window) {
  auto& loaded = State().loaded;
  std::erase_if(loaded, [&](const LoadedWindow& entry) { return entry.definition == &window; });
}

// Steps 2 to 8 of loading: everything built while events are suspended.
bool BuildWindow(const WindowDefinition& window, bool modal) {
  WindowSystem& system = System();
  const bool ownedByHiddenOwner = modal || !window.showInTaskbar;
  if (!system.CreateFrame(window, ownedByHiddenOwner, modal)) {
    return false;
  }
  State().loaded.push_back({&window});
  const int count = static_cast<int>(window.controls.size());
  for (int index = count - 1; index >= 0; --index) {
    if (!system.CreateControl(window, index)) {
      system.DestroyNow(window);
      ForgetLoaded(window);
      return false;
    }
  }
  for (int index = 0; index < count; ++index) {
    const char* container = window.controls[index].container;
    if (container == nullptr) {
      continue;
    }
    const int containerIndex = FindControlIndex(window, container);
    if (containerIndex < 0 || window.controls[containerIndex].kind != ControlKind::kGroupBox) {
      system.DestroyNow(window);
      ForgetLoaded(window);
      return false;
    }
    system.MoveIntoContainer(window, index, containerIndex);
  }
  system.OrderControls(window);
  for (int index = 0; index < count; ++index) {
    const ControlDefinition& control = window.controls[index];
    if (control.visible && !IsNonVisual(control.kind)) {
      system.SetVisible(window, index, true);
    }
  }
  return true;
}

void RunModal(const WindowDefinition& window) {
  struct Remembered {
    const WindowDefinition* window;
    bool enabled;
  };
  std::vector<Remembered> others;
  for (const auto& entry : State().loaded) {
    if (entry.definition != &window) {
      others.push_back({entry.definition, System().IsFrameEnabled(*entry.definition)});
    }
  }
  for (const auto& other : others) {
    System().SetFrameEnabled(*other.window, false);
  }
  System().RunModalLoop(window);
  for (const auto& other : others) {
    if (!State().ended && FindLoaded(*other.window) != nullptr) {
      System().SetFrameEnabled(*other.window, other.enabled);
    }
  }
}

}  // namespace

void InstallWindowSystem(WindowSystem& system) {
  State() = ModelState{};
  State().system = &system;
}

WindowSystem& System() {
  return *State().system;
}

void RegisterWindow(const WindowDefinition& window, std::span<const EventBinding> bindings) {
  // A binding to a control the window does not have would never fire: a mistyped name is a
  // fault of the program, told at once.
  for (const EventBinding& binding : bindings) {
    if (binding.control != nullptr && FindControlIndex(window, binding.control) < 0) {
      FatalError(Text("窗口事件绑定的组件不存在：") + window.name + "." + binding.control);
      return;
    }
  }
  auto& registered = State().registered;
  std::erase_if(registered, [&](const RegisteredWindow& entry) {
    return std::string_view(entry.definition->name) == window.name;
  });
  registered.push_back({&window, bindings});
}

bool LoadWindow(const WindowDefinition& window, bool modal) {
  ModelState& state = State();
  if (state.ended) {
    return false;
  }
  if (LoadedWindow* existing = FindLoaded(window)) {
    if (!existing->closing) {
      System().ActivateOrRestore(window);
      return true;
    }
    System().DestroyNow(window);
    ForgetLoaded(window);
  }

  ++state.suspensionCount;
  const bool built = BuildWindow(window, modal);
  --state.suspensionCount;
  if (!built) {
    return false;
  }

  RaiseEvent(window.name, {}, event::kCreated);
  if (state.ended || FindLoaded(window) == nullptr) {
    return true;
  }
  if (window.visible) {
    System().ShowFrame(window);
  }
  if (modal) {
    RunModal(window);
  }
  return true;
}

void CloseWindow(const WindowDefinition& window) {
  if (State().ended) {
    return;
  }
  LoadedWindow* entry = FindLoaded(window);
  if (entry == nullptr) {
    FatalError("指定窗口或窗口组件不存在或尚未载入");
    return;
  }
  entry->closing = true;
  System().PostClose(window);
}

bool IsLoaded(const WindowDefinition& window) {
  return FindLoaded(window) != nullptr;
}

Text WindowTitle(const WindowDefinition& window) {
  return IsLoaded(window) ? System().FrameTitle(window) : Text();
}

void SetWindowTitle(const WindowDefinition& window, const Text& title) {
  if (IsLoaded(window)) {
    System().SetFrameTitle(window, title);
  }
}

Rect WindowRect(const WindowDefinition& window) {
  return IsLoaded(window) ? System().FrameRect(window) : Rect();
}

void MoveWindowTo(const WindowDefinition& window, Point topLeft) {
  if (IsLoaded(window)) {
    System().MoveFrame(window, topLeft);
  }
}

bool IsClosing(const WindowDefinition& window) {
  const LoadedWindow* entry = FindLoaded(window);
  return entry != nullptr && entry->closing;
}

HandlerResult RaiseEvent(std::string_view window, std::string_view control, int eventNumber,
                         EventArgs args) {
  ModelState& state = State();
  if (state.suspensionCount > 0 || state.ended) {
    return std::nullopt;
  }
  const RegisteredWindow* registered = FindRegistered(window);
  if (registered == nullptr) {
    FatalError("未找到引发事件的窗口");
    return std::nullopt;
  }
  const WindowDefinition& definition = *registered->definition;
  const char* controlName = nullptr;
  if (!control.empty()) {
    const int index = FindControlIndex(definition, control);
    if (index < 0) {
      FatalError("未找到引发事件的窗口组件");
      return std::nullopt;
    }
    if (IsNonVisual(definition.controls[index].kind)) {
      FatalError("引发事件的窗口组件无效");
      return std::nullopt;
    }
    controlName = definition.controls[index].name;
  }
  const auto binding =
      std::find_if(registered->bindings.begin(), registered->bindings.end(), [&](const auto& b) {
        const bool sameControl = controlName == nullptr
                                     ? b.control == nullptr
                                     : b.control != nullptr && control == b.control;
        return sameControl && b.event == eventNumber;
      });
  if (binding == registered->bindings.end()) {
    return std::nullopt;
  }
  const EventSource previous = state.currentSource;
  state.currentSource = {&definition, controlName};
  const HandlerResult result = binding->handler(args);
  state.currentSource = previous;
  return result;
}

void WindowDestroying(const WindowDefinition& window) {
  ModelState& state = State();
  if (FindLoaded(window) == nullptr) {
    return;
  }
  RaiseEvent(window.name, {}, event::kDestroyed);
  ForgetLoaded(window);
  if (state.loaded.empty() && state.messageLoopRunning && !state.ended) {
    System().QuitMessageLoop(0);
  }
}

EventSource CurrentEventSource() {
  return State().currentSource;
}

int RunProgram() {
  ModelState& state = State();
  if (state.ended) {
    return state.exitCode;
  }
  if (state.loaded.empty()) {
    return 0;
  }
  state.messageLoopRunning = true;
  const int exitCode = System().RunMessageLoop();
  state.messageLoopRunning = false;
  return state.ended ? state.exitCode : exitCode;
}

void EndProgram(int exitCode) {
  ModelState& state = State();
  if (state.ended) {
    return;
  }
  state.ended = true;
  state.exitCode = exitCode;
  state.loaded.clear();
  System().EndProgram(exitCode);
}

bool ProgramEnded() {
  return State().ended;
}

void FatalError(const Text& message, std::optional<int> errorCode) {
  ModelState& state = State();
  if (state.ended || state.reportingFatalError) {
    return;
  }
  state.reportingFatalError = true;
  Text text = "运行时出错!\r\n\r\n";
  if (errorCode) {
    text += "错误代码：" + std::to_string(*errorCode) + "\r\n\r\n";
  }
  if (!message.empty()) {
    text += "错误信息：" + message + "\r\n";
  }
  ShowMessageBox(text, box::kOk | box::kIconHand);
  EndProgram(-1);
}

Text ExceptionText(const std::exception_ptr& escaped) {
  Text what = "未处理的异常";
  try {
    std::rethrow_exception(escaped);
  } catch (const std::exception& error) {
    what += std::string("：") + error.what();
  } catch (...) {
  }
  return what;
}

int ShowMessageBox(const Text& text, unsigned style, const Text& title) {
  if ((style & box::kSystemModal) == 0) {
    style |= box::kTaskModal;
  }
  return System().AskUser(text, title, style);
}

int FindControlIndex(const WindowDefinition& window, std::string_view name) {
  for (std::size_t i = 0; i < window.controls.size(); ++i) {
    if (name == window.controls[i].name) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

}  // namespace lumora::forms
