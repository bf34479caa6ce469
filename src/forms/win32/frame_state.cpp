#include "forms/win32/frame_state.h"

namespace lumora::forms::win32 {

int FrameState::ControlIndexOf(HWND control) const {
  if (control == nullptr) {
    return -1;
  }
  const int index = GetDlgCtrlID(control) - kFirstControlId;
  if (index < 0 || index >= static_cast<int>(controls.size()) ||
      controls[index].window != control) {
    return -1;
  }
  return index;
}

FrameState* BackendState::Find(const WindowDefinition& window) const {
  const auto found = frames.find(&window);
  return found == frames.end() ? nullptr : found->second.get();
}

FrameState* BackendState::FindByWindow(HWND window) const {
  for (const auto& [definition, frame] : frames) {
    if (frame->window == window) {
      return frame.get();
    }
  }
  return nullptr;
}

ControlState* BackendState::Control(const WindowDefinition& window, int index) const {
  FrameState* frame = Find(window);
  if (frame == nullptr || index < 0 || index >= static_cast<int>(frame->controls.size())) {
    return nullptr;
  }
  return &frame->controls[index];
}

}  // namespace lumora::forms::win32
