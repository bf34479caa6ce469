#include "settings/settings_window_storage.h"

#include "forms/settings_window.h"
#include "settings/settings_store.h"
#include "settings/settings_window.h"
#include "settings/settings_window_drives.h"
#include "settings/settings_window_options.h"
#include "settings/settings_window_sliders.h"

namespace lumora::settings {
namespace {

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

namespace {

const char* Flag(bool on) {
  return on ? "1" : "0";
}

}  // namespace

bool SaveSettingsFromWindow() {
  settings::ConnectionSettings& current = settings::CurrentConnectionSettings();
  if (SettingsControl("单选框_全屏模式").Checked()) {
    current.Set(key::kWindowMode, "0");
  } else if (SettingsControl("单选框_窗口模式").Checked()) {
    current.Set(key::kWindowMode, "1");
  }
  // The smart-card box is kept equal to drive mapping, so only the mapping box is read.
  const bool mapping = SettingsControl("选择框_映射").Checked();
  current.Set(key::kLocalDrives, mapping ? TickedDrives() : Text());
  current.Set(key::kDriveMapping, Flag(mapping));
  current.Set(key::kSmartCards, Flag(mapping));
  for (const CheckBoxOption& box : PlainCheckBoxes()) {
    current.Set(box.key, Flag(SettingsControl(box.control).Checked()));
  }
  for (const RadioOption& radio : RadioGroups()) {
    if (SettingsControl(radio.control).Checked()) {
      current.Set(radio.key, radio.value);
    }
  }
  return current.Save();
}

}  // namespace lumora::settings
