// Opening and closing the settings window.
#include "app/main_window_helpers.h"
#include "app/settings_window.h"
#include "app/settings_window_controls.h"
#include "app/settings_window_load.h"
#include "app/settings_window_save.h"
#include "app/settings_window_sliders.h"
#include "app/startup_password_setting_events.h"
#include "forms/main_window.h"
#include "forms/settings_window.h"
#include "platform/files.h"
#include "settings/settings_store.h"

namespace lumora::app {
namespace {

void CentreOverMainWindow() {
  if (!forms::IsLoaded(forms::MainWindow())) {
    return;
  }
  const forms::Rect main = forms::WindowRect(forms::MainWindow());
  const forms::Rect own = forms::WindowRect(forms::SettingsWindow());
  forms::MoveWindowTo(forms::SettingsWindow(), {main.left + main.width / 2 - own.width / 2,
                                                main.top + main.height / 2 - own.height / 2});
}

// The settings window's own balloon goes with the window, so the closing word is shown where the
// user looks next: on the main window.
void ShowClosingTip(const Text& text) {
  if (forms::IsLoaded(forms::MainWindow())) {
    ShowTip(text);
  } else {
    ShowSettingsTip(text);
  }
}

}  // namespace

forms::HandlerResult SettingsWindowCreated(forms::EventArgs) {
  CentreOverMainWindow();
  ShowSettingsTip("系统设置");
  if (platform::FileExists(settings::SettingsFile())) {
    LoadSettingsIntoWindow();
  }
  ColourSliderChanged();
  SizeSliderChanged();
  ShowStartupPasswordState();
  return std::nullopt;
}

forms::HandlerResult SettingsWindowDestroyed(forms::EventArgs) {
  if (SaveSettingsFromWindow()) {
    ShowClosingTip("系统配置修改成功!");
    return std::nullopt;
  }
  // Told once the window is gone, so that the box does not stand over a window being destroyed.
  forms::System().PostToUiThread([] {
    forms::ShowMessageBox(
        "系统配置保存失败：配置文件 config.ini 无法写入（可能是只读文件），"
        "本次修改没有保存！",
        forms::box::kOk | forms::box::kIconExclamation, "提示信息!");
  });
  return std::nullopt;
}

}  // namespace lumora::app
