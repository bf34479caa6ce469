// The start window: the start-up password row or the start button, under the logo.
#pragma once

#include "forms/window_definition.h"

namespace lumora::forms {

const WindowDefinition& LoginWindow();
// The names of the start window's controls that its handlers address.
namespace login_control {
inline constexpr char kPassword[] = "编辑框1";
inline constexpr char kPasswordLabel[] = "透明标签1";
inline constexpr char kLoginButton[] = "按钮_登录";
inline constexpr char kStartButton[] = "按钮_启动";
}  // namespace login_control

}  // namespace lumora::forms
