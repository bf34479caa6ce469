// The host editor: one server's address, port, user, password and remark, added or modified.
#pragma once

#include "forms/window_definition.h"

namespace lumora::forms {

const WindowDefinition& HostEditorWindow();
// The names of the host editor's controls that its handlers address.
namespace editor_control {
inline constexpr char kAddress[] = "编辑框_编辑IP";
inline constexpr char kPort[] = "编辑框_端口";
inline constexpr char kUser[] = "编辑框_用户";
inline constexpr char kPassword[] = "编辑框_密码";
inline constexpr char kRemark[] = "编辑框_备注";
inline constexpr char kSaveButton[] = "按钮_编辑";
}  // namespace editor_control

}  // namespace lumora::forms
