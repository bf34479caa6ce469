#include "settings/settings_window_options.h"

#include <algorithm>

#include "forms/settings_window.h"
#include "settings/settings_store.h"

namespace lumora::settings {
namespace {

namespace key = settings::key;

constexpr CheckBoxOption kCheckBoxes[] = {
    {forms::settings_control::kClipboard, key::kClipboard, "远程剪贴板开启!", "远程剪贴板被关闭!"},
    {forms::settings_control::kPrinters, key::kPrinters, "远程打印机被开启!", "远程打印机被关闭!"},
    {forms::settings_control::kSerialPorts, key::kSerialPorts, "远程串行口被开启!",
     "远程串行口被关闭!"},
    {forms::settings_control::kReconnect, key::kReconnect, "远程断开重连被开启!",
     "远程断开重连被关闭!"},
    {forms::settings_control::kCompression, key::kCompression, "远程屏幕压缩被开启!",
     "远程屏幕压缩被关闭!"},
    {forms::settings_control::kConnectionBar, key::kConnectionBar, "远程全屏连接栏被开启!",
     "远程全屏连接栏被关闭!"},
    {forms::settings_control::kWallpaper, key::kDesktopBackground, "远程桌面背景开启!",
     "远程桌面背景被关闭!"},
    {forms::settings_control::kThemes, key::kDesktopTheme, "远程桌面主题被开启!",
     "远程桌面主题被关闭!"},
    {forms::settings_control::kPnpDevices, key::kPnpDevices, "远程PnP设备被开启!",
     "远程PnP设备被关闭!"},
    {forms::settings_control::kRecordAudio, key::kRecording, "远程录音被开启!", "远程录音被关闭!"},
};

constexpr RadioOption kRadios[] = {
    {forms::settings_control::kLoginAdmin, key::kForcedMode, "0", "远程强制连接admin被开启!"},
    {forms::settings_control::kLoginConsole, key::kForcedMode, "1", "远程强制连接console被开启!"},
    {forms::settings_control::kNoForcedLogin, key::kForcedMode, "2", "远程强制连接被关闭!"},
    {forms::settings_control::kSoundOnClient, key::kAudioPlayback, "0", "在客户机播放声音被开启!"},
    {forms::settings_control::kSoundOnServer, key::kAudioPlayback, "1", "在本机播放声音被开启!"},
    {forms::settings_control::kNoSound, key::kAudioPlayback, "2", "远程播放声音被关闭!"},
    {forms::settings_control::kKeysLocal, key::kKeyCombinations, "0", "本地组合键被开启!"},
    {forms::settings_control::kKeysRemote, key::kKeyCombinations, "1", "远程组合键被开启!"},
    {forms::settings_control::kKeysInFullScreen, key::kKeyCombinations, "2", "全屏组合键被开启!"},
};

template <typename Entry>
const Entry* FindByControl(std::span<const Entry> entries, std::string_view control) {
  const auto found = std::find_if(entries.begin(), entries.end(),
                                  [&](const Entry& entry) { return control == entry.control; });
  return found == entries.end() ? nullptr : &*found;
}

}  // namespace

std::span<const CheckBoxOption> PlainCheckBoxes() {
  return kCheckBoxes;
}

std::span<const RadioOption> RadioGroups() {
  return kRadios;
}

const CheckBoxOption* FindCheckBox(std::string_view control) {
  return FindByControl(PlainCheckBoxes(), control);
}

const RadioOption* FindRadio(std::string_view control) {
  return FindByControl(RadioGroups(), control);
}

}  // namespace lumora::settings
