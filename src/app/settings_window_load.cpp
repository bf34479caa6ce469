#include "app/settings_window_load.h"

#include "app/settings_window_controls.h"
#include "app/settings_window_drives.h"
#include "app/settings_window_options.h"
#include "app/settings_window_sliders.h"
#include "forms/settings_window.h"
#include "settings/settings_store.h"

namespace lumora::app {
namespace {

namespace key = settings::key;

// "1" ticks, "0" clears, anything else leaves the box alone.
void LoadCheckBox(const char* control, const Text& value) {
  if (value == "1" || value == "0") {
    SetSettingsCheck(control, value == "1");
  }
}

// Selects the button of the group whose value is stored; the backend clears the others of its
// group box.
void LoadRadioGroup(const char* optionKey, const Text& value) {
  for (const RadioOption& radio : RadioGroups()) {
    if (optionKey == std::string_view(radio.key) && value == radio.value) {
      SetSettingsCheck(radio.control, true);
    }
  }
}

void LoadWindowMode(const settings::ConnectionSettings& stored) {
  const Text& mode = stored.Get(key::kWindowMode);
  if (mode == "1") {
    SetSettingsCheck("单选框_全屏模式", false);
    SetSettingsCheck("单选框_窗口模式", true);
  }
  MoveSizeSliderTo(stored.Get(key::kWindowSize));
  if (mode == "0") {
    SetSettingsCheck("单选框_全屏模式", true);
    SetSettingsCheck("单选框_窗口模式", false);
    SettingsControl("滑块条_大小").SetSliderPosition(forms::kSizeSliderMaximum);
  }
}

void LoadDriveMapping(const Text& mapping) {
  if (mapping == "0" || mapping == "1") {
    SetSettingsCheck("选择框_映射", mapping == "1");
    SettingsControl("超级列表框_磁盘").SetEnabled(mapping == "1");
  }
  FillDriveList();
}

}  // namespace

void LoadSettingsIntoWindow() {
  settings::ConnectionSettings& stored = settings::CurrentConnectionSettings();
  stored.Load();
  LoadWindowMode(stored);
  MoveColourSliderTo(stored.Get(key::kColourDepth));
  LoadCheckBox("选择框_全屏连接栏", stored.Get(key::kConnectionBar));
  LoadRadioGroup(key::kForcedMode, stored.Get(key::kForcedMode));
  LoadDriveMapping(stored.Get(key::kDriveMapping));
  LoadCheckBox("选择框_智能卡", stored.Get(key::kSmartCards));
  for (const CheckBoxOption& box : PlainCheckBoxes()) {
    LoadCheckBox(box.control, stored.Get(box.key));
  }
  LoadRadioGroup(key::kAudioPlayback, stored.Get(key::kAudioPlayback));
  LoadRadioGroup(key::kKeyCombinations, stored.Get(key::kKeyCombinations));
}

}  // namespace lumora::app
