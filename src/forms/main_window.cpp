#include "forms/main_window.h"

#include "forms/images/images.h"
#include "forms/window_definition.h"

namespace lumora::forms {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

constexpr ToolbarButton kToolbarButtons[] = {
    {.image = 0, .caption = "连接Lumora", .tooltip = "连接Lumora"},
    {.image = 4, .caption = "添加Lumora", .tooltip = "添加Lumora"},
    {.image = 2, .caption = "修改Lumora", .tooltip = "修改Lumora"},
    {.image = 6, .caption = "删除Lumora", .tooltip = "删除Lumora"},
    {.image = 3, .caption = "刷新Lumora", .tooltip = "刷新Lumora"},
    {.image = 8, .caption = "导入主机", .tooltip = "导入主机", .hidden = true},
    {.image = -1, .caption = nullptr, .tooltip = nullptr, .hidden = true},
    {.image = 7, .caption = "系统设置", .tooltip = "系统设置"},
    {.image = 5, .caption = "清空记录", .tooltip = "清空连接记录"},
    {.image = 1, .caption = "使用说明", .tooltip = "使用说明"},
    {.image = 7, .caption = "退出软件", .tooltip = "退出软件", .hidden = true},
};

// Cell 6, the location, has a column of its own so that the user sees it; cell 7, the domain,
// is kept with the row without one. The columns add up to 620 pixels, what the list shows beside
// its vertical scroll bar without scrolling sideways; a cell cut short shows whole as a tooltip.
constexpr ListColumn kServerColumns[] = {
    {"Lumora地址", 160}, {"端口", 50},      {"登录用户名", 100}, {"状态", 40},
    {"延迟", 40},        {"备注信息", 125}, {"归属地", 105},
};

}  // namespace

const WindowDefinition& MainWindow() {
  static const ControlDefinition controls[] = {
      // Points at the user guide that ships beside the program.
      {.name = "标签1",
       .kind = ControlKind::kLabel,
       .rect = {6, 355, 500, 13},
       .properties = {.text =
                          "如您在使用方面有任何疑问，请访问 README.txt（程序目录中的使用说明）"}},
      {.name = kBalloonTipName, .kind = ControlKind::kBalloonTip, .rect = {656, 16, 0, 0}},
      {.name = "记录集", .kind = ControlKind::kRecordSet},
      {.name = "数据库连接", .kind = ControlKind::kDbConnection},
      {.name = "状态条1", .kind = ControlKind::kStatusBar, .rect = {0, 457, 663, 20}},
      {.name = main_control::kToolbar,
       .kind = ControlKind::kToolbar,
       .rect = {0, 4, 644, 54},
       // Tab goes from the list to the toolbar and back.
       .tabStop = true,
       .tabIndex = 1,
       .properties = {.backColour = kWhite,
                      .images = {48, 29, images::ToolbarImages()},
                      .buttons = kToolbarButtons,
                      .flatButtons = true,
                      .captionBelowImage = true,
                      .wrapButtons = true,
                      .dockTop = true}},
      // Sized to the client area between the toolbar and the status bar: drawn larger, its
      // scroll bars and last rows would lie outside the fixed frame, out of the user's reach.
      {.name = main_control::kServerList,
       .kind = ControlKind::kListView,
       .rect = {0, 56, 644, 296},
       .tabStop = true,
       .tabIndex = 0,
       .properties = {.textColour = kBlack,
                      .backColour = kWhite,
                      .border = Border::kThinSingle,
                      .columns = kServerColumns,
                      .fullRowSelect = true,
                      .gridLines = true,
                      .singleSelection = true,
                      .showSelectionAlways = true,
                      .checkBoxes = true,
                      .clickableHeaders = true,
                      .images = {12, 12, images::RowIcons()}}},
  };
  static const WindowDefinition window{
      .name = "MainWindow",
      .title = "Lumora  Lumora",
      .rect = {50, 50, 650, 399},
      .background = kWhite,
      .icon = images::MainIcon(),
      .controls = controls,
  };
  return window;
}

Control ServerList() {
  return Control(MainWindow(), main_control::kServerList);
}

void ShowTip(const Text& text) {
  ShowBalloonTip(MainWindow(), text);
}

std::vector<int> TickedRows(const Control& list) {
  std::vector<int> ticked;
  const int count = list.RowCount();
  for (int row = 0; row < count; ++row) {
    if (list.RowChecked(row)) {
      ticked.push_back(row);
    }
  }
  return ticked;
}

}  // namespace lumora::forms
