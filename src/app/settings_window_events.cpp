// The settings window's option controls: each change is commented in a balloon.
#include "app/settings_window.h"
#include "app/settings_window_controls.h"
#include "app/settings_window_drives.h"
#include "app/settings_window_options.h"
#include "app/settings_window_sliders.h"

namespace lumora::app {
namespace {

// The name of the control whose event is being handled.
std::string_view SourceControl() {
  const forms::EventSource source = forms::CurrentEventSource();
  return source.control != nullptr ? source.control : "";
}

void OfferDrives() {
  SettingsControl("超级列表框_磁盘").SetEnabled(true);
  FillDriveList();
}

}  // namespace

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
  if (SettingsControl("选择框_映射").Checked()) {
    ShowSettingsTip("磁盘映射被开启,请在安全环境使用!");
    SettingsControl("超级列表框_磁盘").SetEnabled(true);
    SetSettingsCheck("选择框_智能卡", true);
    FillDriveList();
  } else {
    SettingsControl("超级列表框_磁盘").SetEnabled(false);
    SetSettingsCheck("选择框_智能卡", false);
    ShowSettingsTip("磁盘映射被关闭!");
  }
  return std::nullopt;
}

forms::HandlerResult SmartCardClicked(forms::EventArgs) {
  if (SettingsControl("选择框_智能卡").Checked()) {
    SetSettingsCheck("选择框_映射", true);
    OfferDrives();
    ShowSettingsTip("远程智能卡被开启!");
  } else {
    SettingsControl("超级列表框_磁盘").SetEnabled(false);
    SetSettingsCheck("选择框_映射", false);
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

}  // namespace lumora::app
