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
    SetSettingsCheck(forms::settings_control::kFullScreenMode, false);
    SetSettingsCheck(forms::settings_control::kWindowMode, true);
  }
  MoveSizeSliderTo(stored.Get(key::kWindowSize));
  if (mode == "0") {
    SetSettingsCheck(forms::settings_control::kFullScreenMode, true);
    SetSettingsCheck(forms::settings_control::kWindowMode, false);
    SettingsControl(forms::settings_control::kSizeSlider)
        .SetSliderPosition(forms::kSizeSliderMaximum);
  }
}

void LoadDriveMapping(const Text& mapping) {
  if (mapping == "0" || mapping == "1") {
    SetSettingsCheck(forms::settings_control::kMapDrives, mapping == "1");
    SettingsControl(forms::settings_control::kDriveList).SetEnabled(mapping == "1");
  }
  FillDriveList();
}

}  // namespace

void LoadSettingsIntoWindow() {
  settings::ConnectionSettings& stored = settings::CurrentConnectionSettings();
  stored.Load();
  LoadWindowMode(stored);
  MoveColourSliderTo(stored.Get(key::kColourDepth));
  LoadCheckBox(forms::settings_control::kConnectionBar, stored.Get(key::kConnectionBar));
  LoadRadioGroup(key::kForcedMode, stored.Get(key::kForcedMode));
  LoadDriveMapping(stored.Get(key::kDriveMapping));
  LoadCheckBox(forms::settings_control::kSmartCards, stored.Get(key::kSmartCards));
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
  if (SettingsControl(forms::settings_control::kFullScreenMode).Checked()) {
    current.Set(key::kWindowMode, "0");
  } else if (SettingsControl(forms::settings_control::kWindowMode).Checked()) {
    current.Set(key::kWindowMode, "1");
  }
  // The smart-card box is kept equal to drive mapping, so only the mapping box is read.
  const bool mapping = SettingsControl(forms::settings_control::kMapDrives).Checked();
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
