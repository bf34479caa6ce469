#include "forms/win32/balloon_tip.h"

#include <commctrl.h>

#include <string>

#include "forms/win32/wide_text.h"

namespace lumora::forms::win32 {
namespace {

constexpr UINT kShownMilliseconds = 4000;
constexpr int kMaximumWidth = 320;
constexpr UINT_PTR kToolId = 1;

// The tool record without the field only comctl32 version 6 accepts, so that both versions take
// it.
TTTOOLINFOW ToolInfo(HWND frame, wchar_t* text) {
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  tool.hwnd = frame;
  tool.uId = kToolId;
  tool.lpszText = text;
  return tool;
}

HWND CreateBalloon(HWND frame) {
  HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_BALLOON | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, frame, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (tip == nullptr) {
    return nullptr;
  }
  wchar_t empty[] = L"";
  TTTOOLINFOW tool = ToolInfo(frame, empty);
  SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, kMaximumWidth);
  return tip;
}

// The tooltips of the frame's toolbars, which would otherwise pop up over a balloon that the same
// click raised: held back while a balloon of the frame is up.
void SetToolbarTipsActive(const FrameState& frame, bool active) {
  for (std::size_t index = 0; index < frame.controls.size(); ++index) {
    HWND toolbar = frame.controls[index].window;
    if (frame.Definition(static_cast<int>(index)).kind != ControlKind::kToolbar ||
        toolbar == nullptr) {
      continue;
    }
    if (auto tips = reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0))) {
      if (!active) {
        SendMessageW(tips, TTM_POP, 0, 0);
      }
      SendMessageW(tips, TTM_ACTIVATE, active ? TRUE : FALSE, 0);
    }
  }
}

}  // namespace

void ShowBalloonTip(FrameState& frame, int index, const Text& text, Point screenPosition) {
  ControlState& state = frame.controls[index];
  if (!state.balloon) {
    state.balloon.reset(CreateBalloon(frame.window));
    if (!state.balloon) {
      return;
    }
    // The tooltip's own font is the system's status font, which under Wine has no Chinese
    // characters: the balloon takes the font of the window's controls.
    SendMessageW(state.balloon.get(), WM_SETFONT,
                 reinterpret_cast<WPARAM>(frame.backend->font.get()), FALSE);
  }
  HWND tip = state.balloon.get();
  std::wstring wide = ToWide(text);
  TTTOOLINFOW tool = ToolInfo(frame.window, wide.data());
  SendMessageW(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(screenPosition.x, screenPosition.y));
  // A balloon that no timer would take down would cover the window for good: without a timer
  // it is not shown.
  if (SetTimer(frame.window, kFirstBalloonTimer + static_cast<UINT_PTR>(index), kShownMilliseconds,
               nullptr) != 0) {
    SetToolbarTipsActive(frame, false);
    SendMessageW(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  }
}

Text BalloonText(const FrameState& frame, int index) {
  HWND tip = frame.controls[index].balloon.get();
  if (tip == nullptr || !IsWindowVisible(tip)) {
    return {};
  }
  wchar_t text[1024] = {};
  TTTOOLINFOW tool = ToolInfo(frame.window, text);
  SendMessageW(tip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
  return FromWide(text);
}

void HideBalloonTip(FrameState& frame, int index) {
  KillTimer(frame.window, kFirstBalloonTimer + static_cast<UINT_PTR>(index));
  if (index < 0 || index >= static_cast<int>(frame.controls.size())) {
    return;
  }
  HWND tip = frame.controls[index].balloon.get();
  if (tip == nullptr || !IsWindowVisible(tip)) {
    return;
  }
  wchar_t empty[] = L"";
  TTTOOLINFOW tool = ToolInfo(frame.window, empty);
  SendMessageW(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
  SetToolbarTipsActive(frame, true);
}

void HideBalloonsOf(FrameState& frame) {
  for (std::size_t index = 0; index < frame.controls.size(); ++index) {
    if (frame.controls[index].balloon) {
      HideBalloonTip(frame, static_cast<int>(index));
    }
  }
}

void HideFrameTips(FrameState& frame) {
  HideBalloonsOf(frame);
  SetToolbarTipsActive(frame, false);
  SetToolbarTipsActive(frame, true);
}

bool ShowsBalloon(const FrameState& frame) {
  for (const ControlState& control : frame.controls) {
    if (control.balloon && IsWindowVisible(control.balloon.get())) {
      return true;
    }
  }
  return false;
}

void HideAllBalloonTips(const BackendState& backend) {
  for (const auto& [definition, frame] : backend.frames) {
    HideBalloonsOf(*frame);
  }
}

}  // namespace lumora::forms::win32
