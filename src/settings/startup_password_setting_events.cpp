#include "settings/startup_password_setting_events.h"

#include "forms/settings_window.h"
#include "forms/window_model.h"
#include "services/startup_password.h"
#include "settings/settings_window.h"
#include "settings/startup_password_setting.h"

namespace lumora::settings {
namespace {

constexpr const char* kPasswordRow[] = {
    forms::settings_control::kPasswordLabel, forms::settings_control::kPassword,
    forms::settings_control::kPasswordAgainLabel, forms::settings_control::kPasswordAgain,
    forms::settings_control::kPasswordButton};

void ShowPasswordRow(bool shown) {
  for (const char* control : kPasswordRow) {
    SettingsControl(control).SetVisible(shown);
  }
}

void Tell(const Text& text, const Text& title) {
  forms::ShowMessageBox(text, forms::box::kOk, title);
}

// After a store that did not take: the box says whether a password is still set (the previous
// one), never that the new one is.
void ShowWhatIsStored() {
  if (!services::ReadStoredPassword().IsSet()) {
    SetSettingsCheck(forms::settings_control::kStartupPasswordBox, false);
    ShowPasswordRow(false);
  }
}

}  // namespace

// With a password set, the row is there to type a new one and store it with "确认".
void ShowStartupPasswordState() {
  if (services::ReadStoredPassword().IsSet()) {
    SetSettingsCheck(forms::settings_control::kStartupPasswordBox, true);
    ShowPasswordRow(true);
  }
}

forms::HandlerResult StartupPasswordBoxClicked(forms::EventArgs) {
  if (SettingsControl(forms::settings_control::kStartupPasswordBox).Checked()) {
    ShowPasswordRow(true);
    SettingsControl(forms::settings_control::kPassword).SetText("");
    SettingsControl(forms::settings_control::kPasswordAgain).SetText("");
    return std::nullopt;
  }
  // A password that is set goes only when the user says so: one click would lose it.
  if (services::ReadStoredPassword().IsSet() &&
      forms::ShowMessageBox("确定要取消启动密码吗？",
                            forms::box::kYesNo | forms::box::kIconQuestion,
                            "取消启动密码") != forms::box::kAnswerYes) {
    SetSettingsCheck(forms::settings_control::kStartupPasswordBox, true);
    return std::nullopt;
  }
  ShowPasswordRow(false);
  if (!ClearStartupPassword()) {
    // The password is still on: the box says so again.
    SetSettingsCheck(forms::settings_control::kStartupPasswordBox, true);
    Tell("启动密码没有关闭：配置文件 config.ini 无法写入（可能是只读文件）！", "关闭失败！");
  }
  return std::nullopt;
}

forms::HandlerResult StorePasswordClicked(forms::EventArgs) {
  const PasswordStoreOutcome outcome =
      StoreStartupPassword(SettingsControl(forms::settings_control::kPassword).GetText(),
                           SettingsControl(forms::settings_control::kPasswordAgain).GetText());
  if (outcome == PasswordStoreOutcome::kNotWritten ||
      outcome == PasswordStoreOutcome::kCannotReadBack ||
      outcome == PasswordStoreOutcome::kRestoreFailed) {
    ShowWhatIsStored();
  }
  switch (outcome) {
    case PasswordStoreOutcome::kStored:
      Tell("启动密码设置成功！", "成功！");
      break;
    case PasswordStoreOutcome::kEmpty:
      Tell("密码不能为空！", "请填写密码！");
      break;
    case PasswordStoreOutcome::kMismatch:
      Tell("两次输入的密码不同，请重新确认！", "两次输入密码错误");
      break;
    case PasswordStoreOutcome::kNotWritten:
      Tell("启动密码没有保存：配置文件 config.ini 无法写入（可能是只读文件）！", "保存失败！");
      break;
    case PasswordStoreOutcome::kCannotReadBack:
      Tell(
          "配置文件无法原样保存这个密码，下次启动时将无法用它登录。\r\n"
          "原来的启动密码保持不变，请换一个密码！",
          "请更换密码！");
      break;
    case PasswordStoreOutcome::kRestoreFailed:
      Tell(
          "配置文件无法原样保存这个密码，原来的启动密码也未能恢复。\r\n"
          "请换一个密码重新设置！",
          "请更换密码！");
      break;
  }
  return std::nullopt;
}

}  // namespace lumora::settings
