#include "forms/settings_window.h"

#include "forms/images/images.h"
#include "forms/window_definition.h"

namespace lumora::forms {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kRed{255, 0, 0};

constexpr ListColumn kDriveColumns[] = {{"盘符", 40}, {"卷标", 60}, {"类型", 40}};

constexpr ControlProperties SectionTitle(const char* text) {
  return {.text = text, .textColour = kBlue, .hAlign = HAlign::kCentre, .vAlign = VAlign::kCentre};
}

constexpr ControlProperties FieldLabel(const char* text) {
  return {.text = text, .textColour = kBlack, .hAlign = HAlign::kLeft, .vAlign = VAlign::kCentre};
}

constexpr ControlProperties SliderLabel() {
  return {
      .text = "透明标签", .textColour = kRed, .hAlign = HAlign::kCentre, .vAlign = VAlign::kCentre};
}

constexpr ControlProperties PasswordField() {
  return {.text = "",
          .border = Border::kSunken3D,
          .multiLine = false,
          .input = InputMode::kPassword,
          .passwordMask = '*'};
}

constexpr ControlProperties Slider(int maximum, int position) {
  return {.border = Border::kThinSingle,
          .minimum = 0,
          .maximum = maximum,
          .position = position,
          .pageStep = 10,
          .lineStep = 10,
          .tickMarks = false};
}

// Tab goes through the groups in reading order and through each group's controls row by row,
// left to right: the place of every group and tab stop in that walk.
constexpr ControlDefinition Box(const char* name, Rect rect, int tabIndex) {
  return {.name = name, .kind = ControlKind::kGroupBox, .rect = rect, .tabIndex = tabIndex};
}

// Check boxes and radio buttons are visible, enabled tab stops.
constexpr ControlDefinition Option(const char* name, ControlKind kind, const char* caption,
                                   Rect rect, const char* container, int tabIndex, bool checked) {
  return {.name = name,
          .kind = kind,
          .rect = rect,
          .container = container,
          .tabStop = true,
          .tabIndex = tabIndex,
          .properties = {.text = caption, .checked = checked}};
}

constexpr ControlDefinition CheckBox(const char* name, const char* caption, Rect rect,
                                     const char* container, int tabIndex, bool checked = false) {
  return Option(name, ControlKind::kCheckBox, caption, rect, container, tabIndex, checked);
}

constexpr ControlDefinition Radio(const char* name, const char* caption, Rect rect,
                                  const char* container, int tabIndex, bool selected = false) {
  return Option(name, ControlKind::kRadioButton, caption, rect, container, tabIndex, selected);
}

constexpr ControlDefinition Label(const char* name, Rect rect, const char* container,
                                  ControlProperties properties, bool visible = true) {
  return {.name = name,
          .kind = ControlKind::kTransparentLabel,
          .rect = rect,
          .container = container,
          .visible = visible,
          .properties = properties};
}

}  // namespace

const WindowDefinition& SettingsWindow() {
  static const ControlDefinition controls[] = {
      Box("分组框1", {3, 1, 259, 183}, 0),
      Box("分组框2", {262, 1, 196, 255}, 1),
      Box("分组框3", {3, 184, 259, 72}, 2),
      Box("分组框4", {3, 256, 455, 72}, 3),
      Box("分组框5", {3, 328, 455, 72}, 4),
      Box("分组框6", {3, 408, 455, 72}, 5),
      // security
      {.name = settings_control::kPasswordButton,
       .kind = ControlKind::kButton,
       .rect = {387, 46, 56, 16},
       .container = "分组框6",
       .visible = false,
       .tabStop = true,
       .tabIndex = 73,
       .properties = {.text = "确认",
                      .hAlign = HAlign::kCentre,
                      .vAlign = VAlign::kCentre,
                      .defaultButton = true}},
      Label(settings_control::kPasswordAgainLabel, {256, 47, 56, 16}, "分组框6",
            FieldLabel("确认密码："), false),
      Label(settings_control::kPasswordLabel, {120, 47, 56, 16}, "分组框6",
            FieldLabel("启动密码："), false),
      {.name = settings_control::kPassword,
       .kind = ControlKind::kEditBox,
       .rect = {176, 47, 69, 16},
       .container = "分组框6",
       .visible = false,
       .tabStop = true,
       .tabIndex = 71,
       .properties = PasswordField()},
      {.name = settings_control::kPasswordAgain,
       .kind = ControlKind::kEditBox,
       .rect = {312, 47, 69, 16},
       .container = "分组框6",
       .visible = false,
       .tabStop = true,
       .tabIndex = 72,
       .properties = PasswordField()},
      CheckBox(settings_control::kStartupPasswordBox, "需要密码启动", {16, 48, 93, 16}, "分组框6",
               70),
      Label("透明标签4", {12, 11, 50, 24}, "分组框6", SectionTitle("系统安全")),
      // Windows key combinations
      Label("透明标签3", {12, 11, 113, 24}, "分组框5", SectionTitle("远程Windows 组合键")),
      Radio(settings_control::kKeysLocal, "在本地计算机上应用", {8, 42, 139, 24}, "分组框5", 60),
      Radio(settings_control::kKeysRemote, "在远程计算机上应用", {163, 43, 136, 24}, "分组框5", 61),
      Radio(settings_control::kKeysInFullScreen, "只在全屏模式下应用", {315, 43, 128, 24},
            "分组框5", 62, true),
      // remote audio
      CheckBox(settings_control::kRecordAudio, "录制远程声音", {331, 16, 112, 16}, "分组框4", 50),
      Radio(settings_control::kSoundOnClient, "在客户端计算机上播放声音", {8, 42, 171, 24},
            "分组框4", 51),
      Radio(settings_control::kSoundOnServer, "在主计算机上播放声音", {187, 43, 144, 24}, "分组框4",
            52),
      Radio(settings_control::kNoSound, "不播放声音", {349, 43, 86, 24}, "分组框4", 53, true),
      Label("透明标签2", {12, 11, 97, 24}, "分组框4", SectionTitle("远程音频播放选项")),
      // local resources and experience
      CheckBox(settings_control::kPnpDevices, "PnP设备", {120, 219, 64, 16}, "分组框2", 30),
      CheckBox(settings_control::kSmartCards, "智能卡", {120, 194, 56, 16}, "分组框2", 28),
      CheckBox(settings_control::kSerialPorts, "串行口", {120, 169, 57, 16}, "分组框2", 26),
      CheckBox(settings_control::kPrinters, "打印机", {120, 144, 56, 16}, "分组框2", 24),
      CheckBox(settings_control::kThemes, "显示桌面主题", {8, 215, 96, 24}, "分组框2", 29),
      CheckBox(settings_control::kWallpaper, "显示桌面背景", {8, 190, 96, 24}, "分组框2", 27),
      CheckBox(settings_control::kCompression, "屏幕压缩", {8, 169, 80, 16}, "分组框2", 25, true),
      CheckBox(settings_control::kReconnect, "断开重连", {8, 145, 72, 16}, "分组框2", 23, true),
      {.name = "图片框4",
       .kind = ControlKind::kPictureBox,
       .rect = {8, 10, 32, 40},
       .container = "分组框2",
       .properties = {.image = images::SettingsPicture()}},
      CheckBox(settings_control::kMapDrives, "磁盘映射", {8, 119, 72, 24}, "分组框2", 21),
      CheckBox(settings_control::kClipboard, "剪贴板", {120, 119, 57, 24}, "分组框2", 22, true),
      {.name = settings_control::kDriveList,
       .kind = ControlKind::kListView,
       .rect = {48, 10, 144, 104},
       .container = "分组框2",
       .enabled = false,
       .tabStop = true,
       .tabIndex = 20,
       .properties = {.textColour = kBlack,
                      .backColour = kWhite,
                      .border = Border::kThinSingle,
                      .columns = kDriveColumns,
                      .fullRowSelect = true,
                      .gridLines = false,
                      .singleSelection = true,
                      .showSelectionAlways = false,
                      .checkBoxes = true,
                      .clickableHeaders = true}},
      // forced login
      Radio(settings_control::kLoginAdmin, "WinXP2以上", {8, 40, 80, 24}, "分组框3", 40),
      Radio(settings_control::kLoginConsole, "WinXP2以下", {99, 41, 83, 24}, "分组框3", 41),
      Radio(settings_control::kNoForcedLogin, "不使用", {189, 41, 59, 24}, "分组框3", 42, true),
      Label("透明标签1", {12, 11, 121, 24}, "分组框3", SectionTitle("远程桌面强制登录选项")),
      // display mode, size and colours
      CheckBox(settings_control::kConnectionBar, "显示全屏连接栏", {11, 159, 104, 16}, "分组框1",
               14, true),
      // Drawn in the first group at design time; it has no area, so it stays with the window.
      {.name = kBalloonTipName, .kind = ControlKind::kBalloonTip, .rect = {83, 7, 0, 0}},
      Label(settings_control::kSizeLabel, {66, 128, 131, 24}, "分组框1", SliderLabel()),
      Label(settings_control::kColourLabel, {66, 68, 131, 24}, "分组框1", SliderLabel()),
      {.name = settings_control::kSizeSlider,
       .kind = ControlKind::kSlider,
       .rect = {36, 97, 187, 24},
       .container = "分组框1",
       .tabStop = true,
       .tabIndex = 13,
       .properties = Slider(kSizeSliderMaximum, 0)},
      {.name = settings_control::kColourSlider,
       .kind = ControlKind::kSlider,
       .rect = {36, 39, 187, 24},
       .container = "分组框1",
       .tabStop = true,
       .tabIndex = 12,
       .properties = Slider(kColourSliderMaximum, kColourSliderMaximum)},
      Radio(settings_control::kWindowMode, "窗口模式", {8, 13, 72, 24}, "分组框1", 10),
      Radio(settings_control::kFullScreenMode, "全屏模式", {139, 13, 72, 24}, "分组框1", 11, true),
  };
  static const WindowDefinition window{
      .name = "SettingsWindow",
      .title = "系统设置   功能设置需要重新连接主机才能生效!",
      .rect = {50, 50, 468, 516},
      .escapeCloses = true,
      .icon = images::SettingsIcon(),
      .controls = controls,
  };
  return window;
}

}  // namespace lumora::forms
