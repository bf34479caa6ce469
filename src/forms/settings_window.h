// The modal window of the session options and the start-up password.
#pragma once

#include "forms/window_definition.h"

namespace lumora::forms {

const WindowDefinition& SettingsWindow();
// The names of the settings window's controls that its handlers address.
namespace settings_control {
inline constexpr char kDriveList[] = "超级列表框_磁盘";
inline constexpr char kPassword[] = "编辑框1";
inline constexpr char kPasswordAgain[] = "编辑框2";
inline constexpr char kPasswordButton[] = "按钮_密码安全";
inline constexpr char kPasswordLabel[] = "透明标签5";
inline constexpr char kPasswordAgainLabel[] = "透明标签6";
inline constexpr char kStartupPasswordBox[] = "选择框_安全密码";
inline constexpr char kMapDrives[] = "选择框_映射";
inline constexpr char kSizeSlider[] = "滑块条_大小";
inline constexpr char kColourSlider[] = "滑块条_颜色";
inline constexpr char kSizeLabel[] = "标签_大小";
inline constexpr char kColourLabel[] = "标签_颜色";
inline constexpr char kWindowMode[] = "单选框_窗口模式";
inline constexpr char kFullScreenMode[] = "单选框_全屏模式";
inline constexpr char kConnectionBar[] = "选择框_全屏连接栏";
inline constexpr char kSmartCards[] = "选择框_智能卡";
inline constexpr char kReconnect[] = "选择框_重连";
inline constexpr char kWallpaper[] = "选择框_桌面背景";
inline constexpr char kThemes[] = "选择框_桌面主题";
inline constexpr char kPrinters[] = "选择框_打印机";
inline constexpr char kRecordAudio[] = "选择框_录音";
inline constexpr char kCompression[] = "选择框_压缩";
inline constexpr char kClipboard[] = "选择框_剪贴板";
inline constexpr char kSerialPorts[] = "选择框_串行口";
inline constexpr char kPnpDevices[] = "选择框_PnP设备";
inline constexpr char kKeysLocal[] = "单选框_本地组键";
inline constexpr char kKeysRemote[] = "单选框_远程组键";
inline constexpr char kKeysInFullScreen[] = "单选框_全屏组键";
inline constexpr char kSoundOnClient[] = "单选框_客户声音";
inline constexpr char kSoundOnServer[] = "单选框_本机声音";
inline constexpr char kNoSound[] = "单选框_无声音";
inline constexpr char kLoginAdmin[] = "单选框_admin";
inline constexpr char kLoginConsole[] = "单选框_console";
inline constexpr char kNoForcedLogin[] = "单选框_无强制";
}  // namespace settings_control

// The size slider runs from 0 to 60 in steps of 10; its maximum stands for a full-screen session.
inline constexpr int kSizeSliderMaximum = 60;
// The colour slider runs from 0 to 40 in steps of 10 and starts at 40.
inline constexpr int kColourSliderMaximum = 40;

}  // namespace lumora::forms
