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
    {"按钮_密码安全", kClicked, StorePasswordClicked},
    {"选择框_安全密码", kClicked, StartupPasswordBoxClicked},
    {"单选框_本地组键", kClicked, OptionRadioClicked},
    {"单选框_远程组键", kClicked, OptionRadioClicked},
    {"单选框_全屏组键", kClicked, OptionRadioClicked},
    {"选择框_录音", kClicked, OptionCheckBoxClicked},
    {"单选框_客户声音", kClicked, OptionRadioClicked},
    {"单选框_本机声音", kClicked, OptionRadioClicked},
    {"单选框_无声音", kClicked, OptionRadioClicked},
    {"选择框_PnP设备", kClicked, OptionCheckBoxClicked},
    {"选择框_智能卡", kClicked, SmartCardClicked},
    {"选择框_串行口", kClicked, OptionCheckBoxClicked},
    {"选择框_打印机", kClicked, OptionCheckBoxClicked},
    {"选择框_桌面主题", kClicked, OptionCheckBoxClicked},
    {"选择框_桌面背景", kClicked, OptionCheckBoxClicked},
    {"选择框_全屏连接栏", kClicked, OptionCheckBoxClicked},
    {"选择框_压缩", kClicked, OptionCheckBoxClicked},
    {"选择框_重连", kClicked, OptionCheckBoxClicked},
    {"选择框_映射", kClicked, DriveMappingClicked},
    {"选择框_剪贴板", kClicked, OptionCheckBoxClicked},
    {"单选框_admin", kClicked, OptionRadioClicked},
    {"单选框_console", kClicked, OptionRadioClicked},
    {"单选框_无强制", kClicked, OptionRadioClicked},
    {"滑块条_大小", kChanged, SizeSliderMoved},
    {"滑块条_大小", kLeftUp, SizeSliderMoved},
    {"滑块条_颜色", kChanged, ColourSliderMoved},
    {"滑块条_颜色", kLeftUp, ColourSliderMoved},
    {"单选框_窗口模式", kClicked, WindowedModeClicked},
    {"单选框_全屏模式", kClicked, FullScreenModeClicked},
};

}  // namespace

void RegisterSettingsWindow() {
  forms::RegisterWindow(forms::SettingsWindow(), kSettingsBindings);
}

void OpenSettingsWindow() {
  forms::LoadWindow(forms::SettingsWindow(), /*modal=*/true);
}

}  // namespace lumora::settings
