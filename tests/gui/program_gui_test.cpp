#include "program_gui_test.h"

#include <commctrl.h>

#include "forms/host_editor_window.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "seen_by_user.h"
#include "status/reachability_pass.h"

namespace lumora::gui_tests {

using forms::HostEditorWindow;
using forms::MainWindow;

void ProgramGuiTest::ClickToolbarButton(int index) {
  HWND toolbar = ControlWindow(MainWindow(), "工具条1");
  RECT button{};
  ASSERT_TRUE(SendMessageW(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&button)));
  PostClick(toolbar, Centre(button));
}

void ProgramGuiTest::DoubleClickRow(int row) {
  HWND list = ControlWindow(MainWindow(), "超级列表框1");
  const POINT point = RowCentre(list, row);
  PostClick(list, point);
  PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(point.x, point.y));
  PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
}

void ProgramGuiTest::RunModal(int toolbarButton, const forms::WindowDefinition& window,
                              UserThread& user) {
  ClickToolbarButton(toolbarButton);
  const bool closed = PumpUntil([&] { return user.Done() && !forms::IsLoaded(window); });
  FinishWhilePumping(user);
  ASSERT_TRUE(closed) << window.name;
}

void ProgramGuiTest::FinishWhilePumping(UserThread& user) {
  while (!user.Done()) {
    PumpUntil([&] { return user.Done(); });
  }
  user.Finish();
}

void ProgramGuiTest::WaitForQuietList() {
  ASSERT_TRUE(PumpUntil([] { return status::ReachabilityPassesRunning() == 0; }));
}

std::wstring ProgramGuiTest::TipText() {
  std::wstring text;
  PumpUntil([&] { return VisibleBalloonText(text) && !text.empty(); });
  return text;
}

HWND ProgramGuiTest::Live(const forms::WindowDefinition& window, const char* control) {
  return static_cast<HWND>(
      Backend().ControlHandle(window, forms::FindControlIndex(window, control)));
}

HWND ProgramGuiTest::WaitForModal(const forms::WindowDefinition& window) {
  HWND frame = nullptr;
  HWND main = static_cast<HWND>(Backend().FrameHandle(MainWindow()));
  WaitUntil([&] {
    frame = static_cast<HWND>(Backend().FrameHandle(window));
    return frame != nullptr && IsWindowVisible(frame) && !IsWindowEnabled(main);
  });
  return frame != nullptr && IsWindowVisible(frame) ? frame : nullptr;
}

void ProgramGuiTest::TypeServer(const wchar_t* address, const wchar_t* port,
                                const wchar_t* password, const wchar_t* remark,
                                const wchar_t* user) {
  SetWindowTextW(Live(HostEditorWindow(), "编辑框_编辑IP"), address);
  SetWindowTextW(Live(HostEditorWindow(), "编辑框_端口"), port);
  SetWindowTextW(Live(HostEditorWindow(), "编辑框_密码"), password);
  SetWindowTextW(Live(HostEditorWindow(), "编辑框_备注"), remark);
  if (user != nullptr) {
    SetWindowTextW(Live(HostEditorWindow(), "编辑框_用户"), user);
  }
}

}  // namespace lumora::gui_tests
