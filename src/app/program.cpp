#include "app/program.h"

#include "app/login_gate.h"
#include "app/main_window_commands.h"
#include "app/main_window_start.h"
#include "app/server_list.h"
#include "catalogue/host_editor.h"
#include "forms/login_window.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "settings/settings_commands.h"

namespace lumora::app {
namespace {

using forms::event::kClicked;
using forms::event::kCreated;

constexpr forms::EventBinding kLoginBindings[] = {
    {nullptr, kCreated, LoginWindowCreated},
    {forms::login_control::kLoginButton, kClicked, LoginButtonClicked},
    {forms::login_control::kStartButton, kClicked, StartButtonClicked},
};

constexpr forms::EventBinding kMainBindings[] = {
    {nullptr, kCreated, MainWindowCreated},
    {forms::main_control::kToolbar, kClicked, ToolbarButtonClicked},
    {forms::main_control::kServerList, forms::event::kListLeftClick, ServerListClicked},
    {forms::main_control::kServerList, forms::event::kDoubleClick, ServerListDoubleClicked},
    {forms::main_control::kServerList, forms::event::kColumnClick, ServerListHeaderClicked},
    {forms::main_control::kServerList, forms::event::kKeyDown, ServerListKeyDown},
    {forms::main_control::kServerList, forms::event::kContextMenu, ServerListContextMenu},
};

}  // namespace

void RegisterWindows() {
  forms::RegisterWindow(forms::LoginWindow(), kLoginBindings);
  forms::RegisterWindow(forms::MainWindow(), kMainBindings);
  catalogue::RegisterHostEditorWindow();
  catalogue::SetServerListRefill(FillServerList);
  settings::RegisterSettingsWindow();
}

int RunLumora() {
  RegisterWindows();
  forms::LoadWindow(forms::LoginWindow());
  return forms::RunProgram();
}

}  // namespace lumora::app
