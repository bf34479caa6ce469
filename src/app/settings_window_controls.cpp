#include "app/settings_window_controls.h"

#include "forms/settings_window.h"

namespace lumora::app {

forms::Control SettingsControl(std::string_view name) {
  return forms::Control(forms::SettingsWindow(), name);
}

void ShowSettingsTip(const Text& text) {
  SettingsControl("气球提示框1").ShowBalloon(text, forms::System().CursorPosition());
}

void SetSettingsCheck(std::string_view name, bool checked) {
  SettingsControl(name).SetChecked(checked);
}

}  // namespace lumora::app
