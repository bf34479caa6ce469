#include "gui_test_windows.h"

#include <stdexcept>

#include "forms/images/images.h"
#include "forms/window_model.h"

namespace lumora::gui_tests {
namespace {

using forms::Border;
using forms::ControlDefinition;
using forms::ControlKind;
using forms::EventArgs;
using forms::EventBinding;
using forms::HAlign;
using forms::HandlerResult;
using forms::InputMode;
using forms::ListColumn;
using forms::Rgb;
using forms::ToolbarButton;
using forms::VAlign;
using forms::WindowDefinition;

constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kPaleYellow{255, 250, 220};

constexpr ToolbarButton kButtons[] = {
    {.image = 0, .caption = "连接", .tooltip = "连接提示"},
    {.image = 4, .caption = "隐藏", .tooltip = "隐藏提示", .hidden = true},
    {.image = 2, .caption = "修改", .tooltip = "修改提示"},
    {.image = 7, .caption = "设置", .tooltip = "设置提示"},
};

constexpr ListColumn kColumns[] = {{"地址", 160}, {"端口", 60}, {"备注", 200}};

HandlerResult Log(const char* entry) {
  EventLog().push_back(entry);
  return std::nullopt;
}

HandlerResult OnCreated(EventArgs) {
  return Log("created");
}
HandlerResult OnDestroyed(EventArgs) {
  TextReadWhileDestroying() = forms::Control(EveryKindWindow(), "编辑框1").GetText();
  return Log("destroyed");
}
HandlerResult OnButton(EventArgs) {
  if (ThrowFromButton()) {
    throw std::runtime_error("boom");
  }
  return Log("button");
}
HandlerResult OnCheck(EventArgs) {
  return Log("check");
}
HandlerResult OnCheckPress(EventArgs) {
  return SwallowCheckBoxPress() ? HandlerResult(0) : std::nullopt;
}
HandlerResult OnRadio1(EventArgs) {
  return Log("radio1");
}
HandlerResult OnRadio2(EventArgs) {
  return Log("radio2");
}
HandlerResult OnRadio3(EventArgs) {
  return Log("radio3");
}
HandlerResult OnRadio4(EventArgs) {
  return Log("radio4");
}
HandlerResult OnSlider(EventArgs) {
  return Log("slider");
}
HandlerResult OnToolbar(EventArgs args) {
  EventLog().push_back("toolbar:" + std::to_string(args.empty() ? -1 : args[0]));
  return std::nullopt;
}
HandlerResult OnListClick(EventArgs) {
  return Log("list-click");
}
HandlerResult OnListDouble(EventArgs) {
  return Log("list-double");
}
HandlerResult OnListKey(EventArgs args) {
  EventLog().push_back("list-key:" + std::to_string(args.empty() ? -1 : args[0]));
  return std::nullopt;
}
HandlerResult OnEditDown(EventArgs args) {
  EventLog().push_back("edit-down:" + std::to_string(args.size()));
  return std::nullopt;
}
HandlerResult OnDialogCreated(EventArgs) {
  return Log("dialog-created");
}

constexpr EventBinding kEveryKindBindings[] = {
    {nullptr, forms::event::kCreated, OnCreated},
    {nullptr, forms::event::kDestroyed, OnDestroyed},
    {"按钮1", forms::event::kClicked, OnButton},
    {"选择框1", forms::event::kClicked, OnCheck},
    {"选择框1", forms::event::kLeftDown, OnCheckPress},
    {"单选框1", forms::event::kClicked, OnRadio1},
    {"单选框2", forms::event::kClicked, OnRadio2},
    {"单选框3", forms::event::kClicked, OnRadio3},
    {"单选框4", forms::event::kClicked, OnRadio4},
    {"滑块1", forms::event::kChanged, OnSlider},
    {"工具条1", forms::event::kClicked, OnToolbar},
    {"超级列表框1", forms::event::kListLeftClick, OnListClick},
    {"超级列表框1", forms::event::kDoubleClick, OnListDouble},
    {"超级列表框1", forms::event::kKeyDown, OnListKey},
    {"编辑框1", forms::event::kLeftDown, OnEditDown},
};

constexpr EventBinding kDialogBindings[] = {
    {nullptr, forms::event::kCreated, OnDialogCreated},
};

}  // namespace

const WindowDefinition& EveryKindWindow() {
  static const ControlDefinition controls[] = {
      {.name = "工具条1",
       .kind = ControlKind::kToolbar,
       .rect = {0, 0, 520, 54},
       .properties = {.backColour = kWhite,
                      .images = forms::images::ToolbarImageList(),
                      .buttons = kButtons,
                      .flatButtons = true,
                      .captionBelowImage = true,
                      .wrapButtons = true,
                      .dockTop = true}},
      {.name = "编辑框1",
       .kind = ControlKind::kEditBox,
       .rect = {10, 64, 150, 24},
       .tabStop = true,
       .properties = {.text = "中文编辑框", .border = Border::kSunken3D}},
      {.name = "密码框",
       .kind = ControlKind::kEditBox,
       .rect = {170, 64, 100, 24},
       .tabStop = true,
       .properties = {.text = "secret",
                      .backColour = kWhite,
                      .border = Border::kThinSingle,
                      .maxLength = 8,
                      .input = InputMode::kPassword,
                      .passwordMask = '*'}},
      {.name = "按钮1",
       .kind = ControlKind::kButton,
       .rect = {280, 62, 90, 28},
       .tabStop = true,
       .properties = {.text = "确定按钮",
                      .hAlign = HAlign::kCentre,
                      .vAlign = VAlign::kCentre,
                      .defaultButton = true}},
      {.name = "选择框1",
       .kind = ControlKind::kCheckBox,
       .rect = {380, 66, 120, 20},
       .tabStop = true,
       .properties = {.text = "需要密码启动"}},
      {.name = "滑块1",
       .kind = ControlKind::kSlider,
       .rect = {10, 100, 200, 30},
       .tabStop = true,
       .properties = {.minimum = 0,
                      .maximum = 10,
                      .position = 3,
                      .tickFrequency = 1,
                      .pageStep = 2,
                      .lineStep = 1,
                      .tickMarks = true}},
      {.name = "图片框1",
       .kind = ControlKind::kPictureBox,
       .rect = {220, 96, 288, 89},
       .properties = {.image = forms::images::Logo()}},
      {.name = "分组框1", .kind = ControlKind::kGroupBox, .rect = {10, 190, 240, 130}},
      {.name = "单选框1",
       .kind = ControlKind::kRadioButton,
       .rect = {10, 20, 100, 20},
       .container = "分组框1",
       .tabStop = true,
       .properties = {.text = "本地计算机", .checked = true}},
      {.name = "单选框2",
       .kind = ControlKind::kRadioButton,
       .rect = {120, 20, 100, 20},
       .container = "分组框1",
       .tabStop = true,
       .properties = {.text = "远程计算机"}},
      {.name = "分组框2",
       .kind = ControlKind::kGroupBox,
       .rect = {10, 48, 220, 72},
       .container = "分组框1"},
      {.name = "透明标签2",
       .kind = ControlKind::kTransparentLabel,
       .rect = {10, 14, 200, 20},
       .container = "分组框2",
       .properties = {.text = "远程音频播放选项",
                      .textColour = kBlue,
                      .hAlign = HAlign::kCentre,
                      .vAlign = VAlign::kCentre}},
      {.name = "单选框3",
       .kind = ControlKind::kRadioButton,
       .rect = {10, 40, 100, 20},
       .container = "分组框2",
       .tabStop = true,
       .properties = {.text = "播放声音", .checked = true}},
      {.name = "单选框4",
       .kind = ControlKind::kRadioButton,
       .rect = {120, 40, 90, 20},
       .container = "分组框2",
       .tabStop = true,
       .properties = {.text = "不播放"}},
      {.name = "透明标签1",
       .kind = ControlKind::kTransparentLabel,
       .rect = {260, 192, 240, 24},
       .properties = {.text = "透明标签：登录密码",
                      .textColour = kBlue,
                      .hAlign = HAlign::kLeft,
                      .vAlign = VAlign::kCentre}},
      {.name = "标签1",
       .kind = ControlKind::kLabel,
       .rect = {260, 222, 240, 20},
       .properties = {.text = "如您在使用方面有任何疑问，请访问"}},
      {.name = "禁用按钮",
       .kind = ControlKind::kButton,
       .rect = {260, 250, 100, 28},
       .visible = false,
       .enabled = false,
       .tabStop = true,
       .properties = {.text = "禁用", .hAlign = HAlign::kCentre, .vAlign = VAlign::kCentre}},
      {.name = "超级列表框1",
       .kind = ControlKind::kListView,
       .rect = {10, 330, 500, 90},
       .tabStop = true,
       .properties = {.backColour = kWhite,
                      .border = Border::kThinSingle,
                      .columns = kColumns,
                      .fullRowSelect = true,
                      .gridLines = true,
                      .singleSelection = true,
                      .showSelectionAlways = true,
                      .checkBoxes = true,
                      .clickableHeaders = true,
                      .images = forms::images::RowIconList()}},
      {.name = "状态条1", .kind = ControlKind::kStatusBar, .rect = {0, 430, 520, 20}},
      {.name = "气球提示框1", .kind = ControlKind::kBalloonTip, .rect = {500, 16, 0, 0}},
      {.name = "数据库连接", .kind = ControlKind::kDbConnection},
      {.name = "记录集", .kind = ControlKind::kRecordSet},
  };
  static const WindowDefinition window{
      .name = "EveryKindWindow",
      .title = "界面测试 - 每种组件",
      .rect = {50, 50, 530, 490},
      .background = kPaleYellow,
      .icon = forms::images::MainIcon(),
      .controls = controls,
  };
  return window;
}

const WindowDefinition& SmallDialog() {
  static const ControlDefinition controls[] = {
      {.name = "分组框1", .kind = ControlKind::kGroupBox, .rect = {0, -2, 280, 120}},
      {.name = "编辑框_备注",
       .kind = ControlKind::kEditBox,
       .rect = {10, 20, 200, 56},
       .container = "分组框1",
       .tabStop = true,
       .properties = {.text = "第一行\r\n第二行",
                      .border = Border::kThinSingle,
                      .multiLine = true}},
  };
  static const WindowDefinition window{
      .name = "SmallDialog",
      .title = "编辑",
      .rect = {50, 50, 300, 160},
      .closable = false,
      .showInTaskbar = false,
      .icon = forms::images::LoginIcon(),
      .controls = controls,
  };
  return window;
}

void RegisterTestWindows() {
  forms::RegisterWindow(EveryKindWindow(), kEveryKindBindings);
  forms::RegisterWindow(SmallDialog(), kDialogBindings);
}

std::vector<std::string>& EventLog() {
  static std::vector<std::string> log;
  return log;
}

Text& TextReadWhileDestroying() {
  static Text text;
  return text;
}

bool& SwallowCheckBoxPress() {
  static bool swallow = false;
  return swallow;
}

bool& ThrowFromButton() {
  static bool shouldThrow = false;
  return shouldThrow;
}

}  // namespace lumora::gui_tests
