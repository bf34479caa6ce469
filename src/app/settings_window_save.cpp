#include "app/settings_window_save.h"

#include "app/settings_window_controls.h"
#include "app/settings_window_drives.h"
#include "app/settings_window_options.h"
#include "settings/settings_store.h"

namespace lumora::app {
namespace {

namespace key = settings::key;

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

}  // namespace lumora::app
