#include "forms/login_window.h"

#include "forms/images/images.h"

namespace lumora::forms {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

}  // namespace

const WindowDefinition& LoginWindow() {
  static const ControlDefinition controls[] = {
      {.name = login_control::kPasswordLabel,
       .kind = ControlKind::kTransparentLabel,
       .rect = {94, 135, 56, 20},
       .visible = false,
       .properties = {.text = "登录密码：",
                      .textColour = kBlack,
                      .hAlign = HAlign::kLeft,
                      .vAlign = VAlign::kCentre}},
      {.name = login_control::kLoginButton,
       .kind = ControlKind::kButton,
       .rect = {242, 134, 44, 24},
       .visible = false,
       .tabStop = true,
       .tabIndex = 1,
       .properties = {.text = "确认",
                      .hAlign = HAlign::kCentre,
                      .vAlign = VAlign::kCentre,
                      .defaultButton = true}},
      {.name = "图片框1",
       .kind = ControlKind::kPictureBox,
       .rect = {46, 36, 288, 89},
       .properties = {.image = images::Logo()}},
      {.name = login_control::kPassword,
       .kind = ControlKind::kEditBox,
       .rect = {150, 134, 88, 24},
       .visible = false,
       .tabStop = true,
       .tabIndex = 0,
       .properties = {.text = "",
                      .backColour = kWhite,
                      .border = Border::kSunken3D,
                      .maxLength = 0,
                      .input = InputMode::kPassword,
                      .passwordMask = '*'}},
      {.name = login_control::kStartButton,
       .kind = ControlKind::kButton,
       .rect = {121, 127, 138, 59},
       .visible = false,
       .tabStop = true,
       .properties = {.text = "启动Lumora",
                      .hAlign = HAlign::kCentre,
                      .vAlign = VAlign::kCentre,
                      .defaultButton = true}},
  };
  static const WindowDefinition window{
      .name = "LoginWindow",
      .title = "登录 - Lumora                                    ",
      .rect = {50, 50, 387, 252},
      // As its close box: the program ends.
      .escapeCloses = true,
      .icon = images::LoginIcon(),
      .controls = controls,
  };
  return window;
}

}  // namespace lumora::forms
