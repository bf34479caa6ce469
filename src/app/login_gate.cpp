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
    Control(LoginWindow(), forms::login_control::kPasswordLabel).SetVisible(true);
    Control(LoginWindow(), forms::login_control::kPassword).SetVisible(true);
    Control(LoginWindow(), forms::login_control::kLoginButton).SetVisible(true);
    // The user can type at once and press Enter.
    Control(LoginWindow(), forms::login_control::kPassword).Focus();
  } else {
    Control(LoginWindow(), forms::login_control::kStartButton).SetVisible(true);
  }
  return std::nullopt;
}

forms::HandlerResult LoginButtonClicked(forms::EventArgs) {
  if (services::AdmitsPassword(Control(LoginWindow(), forms::login_control::kPassword).GetText())) {
    EnterMainWindow();
  } else {
    forms::ShowMessageBox("启动密码错误，请重试！", forms::box::kIconHand, "密码错误！");
    // Typing again replaces the wrong entry.
    Control(LoginWindow(), forms::login_control::kPassword).Focus(/*selectAll=*/true);
  }
  return std::nullopt;
}

forms::HandlerResult StartButtonClicked(forms::EventArgs) {
  EnterMainWindow();
  return std::nullopt;
}

}  // namespace lumora::app
