#include "gui_fixture.h"

#include <algorithm>

#include "forms/main_window.h"
#include "forms/window_model.h"
#include "gui_test_windows.h"
#include "status/reachability_pass.h"

namespace lumora::gui_tests {

void GuiTest::SetUp() {
  backend_ = std::make_unique<forms::Win32WindowSystem>();
  forms::InstallWindowSystem(*backend_);
  RegisterTestWindows();
  EventLog().clear();
  TextReadWhileDestroying().clear();
  SwallowCheckBoxPress() = false;
}

void GuiTest::TearDown() {
  backend_.reset();
}

void GuiTest::DestroyMainWindowAfterItsPasses() {
  PumpUntil([] { return status::ReachabilityPassesRunning() == 0; });
  if (forms::IsLoaded(forms::MainWindow())) {
    backend_->DestroyNow(forms::MainWindow());
  }
}

void GuiTest::LoadEveryKindWindow() {
  ASSERT_TRUE(forms::LoadWindow(EveryKindWindow()));
  PumpPending();
}

HWND GuiTest::Frame(const forms::WindowDefinition& window) {
  return static_cast<HWND>(backend_->FrameHandle(window));
}

int GuiTest::Index(const forms::WindowDefinition& window, std::string_view control) {
  return forms::FindControlIndex(window, control);
}

HWND GuiTest::ControlWindow(const forms::WindowDefinition& window, std::string_view control) {
  return static_cast<HWND>(backend_->ControlHandle(window, Index(window, control)));
}

void GuiTest::PostClick(HWND window, POINT point) {
  const LPARAM position = MAKELPARAM(point.x, point.y);
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, position);
  PostMessageW(window, WM_LBUTTONUP, 0, position);
}

bool GuiTest::Logged(std::string_view entry) const {
  const auto& log = EventLog();
  return std::find(log.begin(), log.end(), entry) != log.end();
}

}  // namespace lumora::gui_tests
