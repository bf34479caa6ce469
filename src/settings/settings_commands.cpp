#include "settings/settings_commands.h"

#include "forms/settings_window.h"
#include "forms/window_model.h"
#include "settings/settings_window.h"
#include "settings/startup_password_setting_events.h"

namespace lumora::settings {
namespace {

using forms::event::kChanged;
using forms::event::kClicked;
using forms::event::kCreated;
using forms::event::kDestroyed;
using forms::event::kLeftUp;

constexpr forms::EventBinding kSettingsBindings[] = {
    {nullptr, kCreated, SettingsWindowCreated},
    {nullptr, kDestroyed, SettingsWindowDestroyed},
    {forms::settings_control::kPasswordButton, kClicked, StorePasswordClicked},
    {forms::settings_control::kStartupPasswordBox, kClicked, StartupPasswordBoxClicked},
    {forms::settings_control::kKeysLocal, kClicked, OptionRadioClicked},
    {forms::settings_control::kKeysRemote, kClicked, OptionRadioClicked},
    {forms::settings_control::kKeysInFullScreen, kClicked, OptionRadioClicked},
    {forms::settings_control::kRecordAudio, kClicked, OptionCheckBoxClicked},
    {forms::settings_control::kSoundOnClient, kClicked, OptionRadioClicked},
    {forms::settings_control::kSoundOnServer, kClicked, OptionRadioClicked},
    {forms::settings_control::kNoSound, kClicked, OptionRadioClicked},
    {forms::settings_control::kPnpDevices, kClicked, OptionCheckBoxClicked},
    {forms::settings_control::kSmartCards, kClicked, SmartCardClicked},
    {forms::settings_control::kSerialPorts, kClicked, OptionCheckBoxClicked},
    {forms::settings_control::kPrinters, kClicked, OptionCheckBoxClicked},
    {forms::settings_control::kThemes, kClicked, OptionCheckBoxClicked},
    {forms::settings_control::kWallpaper, kClicked, OptionCheckBoxClicked},
    {forms::settings_control::kConnectionBar, kClicked, OptionCheckBoxClicked},
    {forms::settings_control::kCompression, kClicked, OptionCheckBoxClicked},
    {forms::settings_control::kReconnect, kClicked, OptionCheckBoxClicked},
    {forms::settings_control::kMapDrives, kClicked, DriveMappingClicked},
    {forms::settings_control::kClipboard, kClicked, OptionCheckBoxClicked},
    {forms::settings_control::kLoginAdmin, kClicked, OptionRadioClicked},
    {forms::settings_control::kLoginConsole, kClicked, OptionRadioClicked},
    {forms::settings_control::kNoForcedLogin, kClicked, OptionRadioClicked},
    {forms::settings_control::kSizeSlider, kChanged, SizeSliderMoved},
    {forms::settings_control::kSizeSlider, kLeftUp, SizeSliderMoved},
    {forms::settings_control::kColourSlider, kChanged, ColourSliderMoved},
    {forms::settings_control::kColourSlider, kLeftUp, ColourSliderMoved},
    {forms::settings_control::kWindowMode, kClicked, WindowedModeClicked},
    {forms::settings_control::kFullScreenMode, kClicked, FullScreenModeClicked},
};

}  // namespace

void RegisterSettingsWindow() {
  forms::RegisterWindow(forms::SettingsWindow(), kSettingsBindings);
}

void OpenSettingsWindow() {
  forms::LoadWindow(forms::SettingsWindow(), /*modal=*/true);
}

}  // namespace lumora::settings
