#include "forms/host_editor_window.h"

#include "forms/images/images.h"
#include "forms/window_definition.h"

namespace lumora::forms {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr char kGroup[] = "分组框1";

constexpr ControlProperties EditField(bool multiLine = false) {
  return {.text = "", .border = Border::kThinSingle, .multiLine = multiLine};
}

constexpr ControlProperties Caption(const char* text) {
  return {.text = text, .textColour = kBlack, .hAlign = HAlign::kLeft, .vAlign = VAlign::kCentre};
}

}  // namespace

const WindowDefinition& HostEditorWindow() {
  static const ControlDefinition controls[] = {
      {.name = editor_control::kAddress,
       .kind = ControlKind::kEditBox,
       .rect = {72, 50, 152, 24},
       .container = kGroup,
       .tabStop = true,
       .tabIndex = 0,
       .properties = EditField()},
      {.name = kBalloonTipName,
       .kind = ControlKind::kBalloonTip,
       .rect = {360, 50, 0, 0},
       .container = kGroup},
      {.name = editor_control::kSaveButton,
       .kind = ControlKind::kButton,
       .rect = {136, 152, 136, 40},
       .container = kGroup,
       .tabStop = true,
       .tabIndex = 5,
       .properties = {.text = "编辑",
                      .hAlign = HAlign::kCentre,
                      .vAlign = VAlign::kCentre,
                      .defaultButton = true}},
      {.name = "透明标签6",
       .kind = ControlKind::kTransparentLabel,
       .rect = {232, 80, 32, 24},
       .container = kGroup,
       .properties = Caption("备注：")},
      {.name = editor_control::kRemark,
       .kind = ControlKind::kEditBox,
       .rect = {264, 81, 152, 56},
       .container = kGroup,
       .tabStop = true,
       .tabIndex = 4,
       .properties = EditField(true)},
      // The password is shown as typed: the editor is where it is checked by eye.
      {.name = editor_control::kPassword,
       .kind = ControlKind::kEditBox,
       .rect = {72, 112, 152, 24},
       .container = kGroup,
       .tabStop = true,
       .tabIndex = 3,
       .properties = EditField()},
      {.name = "透明标签4",
       .kind = ControlKind::kTransparentLabel,
       .rect = {8, 112, 56, 24},
       .container = kGroup,
       .properties = Caption("登录密码：")},
      {.name = editor_control::kUser,
       .kind = ControlKind::kEditBox,
       .rect = {72, 81, 152, 24},
       .container = kGroup,
       .tabStop = true,
       .tabIndex = 2,
       .properties = EditField()},
      {.name = editor_control::kPort,
       .kind = ControlKind::kEditBox,
       .rect = {264, 48, 48, 24},
       .container = kGroup,
       .tabStop = true,
       .tabIndex = 1,
       .properties = EditField()},
      {.name = "图片框",
       .kind = ControlKind::kPictureBox,
       .rect = {8, 9, 40, 32},
       .container = kGroup,
       .properties = {.image = images::EditorPicture()}},
      {.name = "透明标签3",
       .kind = ControlKind::kTransparentLabel,
       .rect = {8, 80, 56, 24},
       .container = kGroup,
       .properties = Caption("登录用户：")},
      {.name = "透明标签2",
       .kind = ControlKind::kTransparentLabel,
       .rect = {231, 48, 32, 24},
       .container = kGroup,
       .properties = Caption("端口：")},
      {.name = "透明标签1",
       .kind = ControlKind::kTransparentLabel,
       .rect = {9, 48, 64, 24},
       .container = kGroup,
       .properties = Caption("登陆地址：")},
      {.name = kGroup, .kind = ControlKind::kGroupBox, .rect = {0, -2, 424, 232}},
  };
  static const WindowDefinition window{
      .name = "HostEditorWindow",
      .title = "编辑",
      .rect = {50, 50, 430, 236},
      .escapeCloses = true,
      .icon = images::EditorIcon(),
      .controls = controls,
  };
  return window;
}

}  // namespace lumora::forms
