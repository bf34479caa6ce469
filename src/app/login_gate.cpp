#include "app/login_gate.h"

#include "forms/login_window.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "services/startup_password.h"

namespace lumora::app {
namespace {

using forms::Control;
using forms::LoginWindow;

// The main window is loaded first, so that the program never runs without a window.
void EnterMainWindow() {
  forms::LoadWindow(forms::MainWindow());
  forms::CloseWindow(LoginWindow());
}

}  // namespace

forms::HandlerResult LoginWindowCreated(forms::EventArgs) {
  if (services::ReadStoredPassword().IsSet()) {
    Control(LoginWindow(), "透明标签1").SetVisible(true);
    Control(LoginWindow(), "编辑框1").SetVisible(true);
    Control(LoginWindow(), "按钮_登录").SetVisible(true);
    // The user can type at once and press Enter.
    Control(LoginWindow(), "编辑框1").Focus();
  } else {
    Control(LoginWindow(), "按钮_启动").SetVisible(true);
  }
  return std::nullopt;
}

forms::HandlerResult LoginButtonClicked(forms::EventArgs) {
  if (services::AdmitsPassword(Control(LoginWindow(), "编辑框1").GetText())) {
    EnterMainWindow();
  } else {
    forms::ShowMessageBox("启动密码错误，请重试！", forms::box::kIconHand, "密码错误！");
    // Typing again replaces the wrong entry.
    Control(LoginWindow(), "编辑框1").Focus(/*selectAll=*/true);
  }
  return std::nullopt;
}

forms::HandlerResult StartButtonClicked(forms::EventArgs) {
  EnterMainWindow();
  return std::nullopt;
}

}  // namespace lumora::app
