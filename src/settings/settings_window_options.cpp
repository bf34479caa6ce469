#include "settings/settings_window_options.h"

#include <algorithm>

#include "settings/settings_store.h"

namespace lumora::settings {
namespace {

namespace key = settings::key;

constexpr CheckBoxOption kCheckBoxes[] = {
    {"选择框_剪贴板", key::kClipboard, "远程剪贴板开启!", "远程剪贴板被关闭!"},
    {"选择框_打印机", key::kPrinters, "远程打印机被开启!", "远程打印机被关闭!"},
    {"选择框_串行口", key::kSerialPorts, "远程串行口被开启!", "远程串行口被关闭!"},
    {"选择框_重连", key::kReconnect, "远程断开重连被开启!", "远程断开重连被关闭!"},
    {"选择框_压缩", key::kCompression, "远程屏幕压缩被开启!", "远程屏幕压缩被关闭!"},
    {"选择框_全屏连接栏", key::kConnectionBar, "远程全屏连接栏被开启!", "远程全屏连接栏被关闭!"},
    {"选择框_桌面背景", key::kDesktopBackground, "远程桌面背景开启!", "远程桌面背景被关闭!"},
    {"选择框_桌面主题", key::kDesktopTheme, "远程桌面主题被开启!", "远程桌面主题被关闭!"},
    {"选择框_PnP设备", key::kPnpDevices, "远程PnP设备被开启!", "远程PnP设备被关闭!"},
    {"选择框_录音", key::kRecording, "远程录音被开启!", "远程录音被关闭!"},
};

constexpr RadioOption kRadios[] = {
    {"单选框_admin", key::kForcedMode, "0", "远程强制连接admin被开启!"},
    {"单选框_console", key::kForcedMode, "1", "远程强制连接console被开启!"},
    {"单选框_无强制", key::kForcedMode, "2", "远程强制连接被关闭!"},
    {"单选框_客户声音", key::kAudioPlayback, "0", "在客户机播放声音被开启!"},
    {"单选框_本机声音", key::kAudioPlayback, "1", "在本机播放声音被开启!"},
    {"单选框_无声音", key::kAudioPlayback, "2", "远程播放声音被关闭!"},
    {"单选框_本地组键", key::kKeyCombinations, "0", "本地组合键被开启!"},
    {"单选框_远程组键", key::kKeyCombinations, "1", "远程组合键被开启!"},
    {"单选框_全屏组键", key::kKeyCombinations, "2", "全屏组合键被开启!"},
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
