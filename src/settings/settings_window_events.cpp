// The settings window's handlers: opening and closing it, and its option controls, each change
// commented in a balloon.
#include "forms/main_window.h"
#include "forms/settings_window.h"
#include "platform/files.h"
#include "settings/settings_store.h"
#include "settings/settings_window.h"
#include "settings/settings_window_drives.h"
#include "settings/settings_window_options.h"
#include "settings/settings_window_sliders.h"
#include "settings/settings_window_storage.h"
#include "settings/startup_password_setting_events.h"

namespace lumora::settings {
namespace {

// The name of the control whose event is being handled.
std::string_view SourceControl() {
  const forms::EventSource source = forms::CurrentEventSource();
  return source.control != nullptr ? source.control : "";
}

void OfferDrives() {
  SettingsControl(forms::settings_control::kDriveList).SetEnabled(true);
  FillDriveList();
}

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
    forms::ShowTip(text);
  } else {
    ShowSettingsTip(text);
  }
}

}  // namespace

forms::Control SettingsControl(std::string_view name) {
  return forms::Control(forms::SettingsWindow(), name);
}

void ShowSettingsTip(const Text& text) {
  forms::ShowBalloonTip(forms::SettingsWindow(), text);
}

void SetSettingsCheck(std::string_view name, bool checked) {
  SettingsControl(name).SetChecked(checked);
}

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

forms::HandlerResult OptionCheckBoxClicked(forms::EventArgs) {
  const std::string_view name = SourceControl();
  if (const CheckBoxOption* box = FindCheckBox(name)) {
    ShowSettingsTip(SettingsControl(name).Checked() ? box->tickedTip : box->clearedTip);
  }
  return std::nullopt;
}

forms::HandlerResult OptionRadioClicked(forms::EventArgs) {
  const std::string_view name = SourceControl();
  const RadioOption* radio = FindRadio(name);
  if (radio != nullptr && SettingsControl(name).Checked()) {
    ShowSettingsTip(radio->selectedTip);
  }
  return std::nullopt;
}

forms::HandlerResult DriveMappingClicked(forms::EventArgs) {
  if (SettingsControl(forms::settings_control::kMapDrives).Checked()) {
    ShowSettingsTip("磁盘映射被开启,请在安全环境使用!");
    SettingsControl(forms::settings_control::kDriveList).SetEnabled(true);
    SetSettingsCheck(forms::settings_control::kSmartCards, true);
    FillDriveList();
  } else {
    SettingsControl(forms::settings_control::kDriveList).SetEnabled(false);
    SetSettingsCheck(forms::settings_control::kSmartCards, false);
    ShowSettingsTip("磁盘映射被关闭!");
  }
  return std::nullopt;
}

forms::HandlerResult SmartCardClicked(forms::EventArgs) {
  if (SettingsControl(forms::settings_control::kSmartCards).Checked()) {
    SetSettingsCheck(forms::settings_control::kMapDrives, true);
    OfferDrives();
    ShowSettingsTip("远程智能卡被开启!");
  } else {
    SettingsControl(forms::settings_control::kDriveList).SetEnabled(false);
    SetSettingsCheck(forms::settings_control::kMapDrives, false);
    ShowSettingsTip("远程智能卡被关闭!");
  }
  return std::nullopt;
}

forms::HandlerResult WindowedModeClicked(forms::EventArgs) {
  WindowedModeSelected();
  return std::nullopt;
}

forms::HandlerResult FullScreenModeClicked(forms::EventArgs) {
  FullScreenModeSelected();
  return std::nullopt;
}

forms::HandlerResult SizeSliderMoved(forms::EventArgs) {
  SizeSliderChanged();
  return std::nullopt;
}

forms::HandlerResult ColourSliderMoved(forms::EventArgs) {
  ColourSliderChanged();
  return std::nullopt;
}

}  // namespace lumora::settings
