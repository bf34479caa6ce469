// The fixed parts of the two start-up windows that the program and its users rely on.
#include <gtest/gtest.h>

#include <string>

#include "forms/login_window.h"
#include "forms/main_window.h"
#include "forms/window_model.h"

namespace lumora::forms {
namespace {

const ControlDefinition& Find(const WindowDefinition& window, const char* name) {
  const int index = FindControlIndex(window, name);
  EXPECT_GE(index, 0) << name;
  return window.controls[index < 0 ? 0 : index];
}

TEST(ProgramWindowsTest, LoginWindowTitleEndsInThirtySixBlanks) {
  const std::string title = LoginWindow().title;
  EXPECT_EQ(title, std::string("登录 - Lumora") + std::string(36, ' '));
  EXPECT_EQ(LoginWindow().rect.width, 387);
  EXPECT_EQ(LoginWindow().rect.height, 252);
}

TEST(ProgramWindowsTest, LoginWindowShowsOnlyTheLogoByDefinition) {
  for (const ControlDefinition& control : LoginWindow().controls) {
    EXPECT_EQ(control.visible, std::string(control.name) == "图片框1") << control.name;
  }
  EXPECT_EQ(Find(LoginWindow(), "编辑框1").properties.input, InputMode::kPassword);
  EXPECT_EQ(Find(LoginWindow(), "编辑框1").properties.passwordMask, '*');
  EXPECT_EQ(std::string(Find(LoginWindow(), "按钮_启动").properties.text), "启动Lumora");
}

TEST(ProgramWindowsTest, MainWindowListKeepsTheDefinedColumnsFirst) {
  const auto columns = Find(MainWindow(), "超级列表框1").properties.columns;
  const char* titles[] = {"Lumora地址", "端口", "登录用户名", "状态", "延迟", "备注信息"};
  const int widths[] = {160, 50, 100, 40, 40, 125};
  ASSERT_EQ(columns.size(), 7u);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(std::string(columns[i].title), titles[i]);
    EXPECT_EQ(columns[i].width, widths[i]);
  }
  EXPECT_EQ(std::string(columns[6].title), "归属地");
}

TEST(ProgramWindowsTest, MainWindowToolbarButtonsInOrder) {
  const auto buttons = Find(MainWindow(), "工具条1").properties.buttons;
  ASSERT_EQ(buttons.size(), 11u);
  const int images[] = {0, 4, 2, 6, 3, 8, -1, 7, 5, 1, 7};
  for (int i = 0; i < 11; ++i) {
    EXPECT_EQ(buttons[i].image, images[i]) << i;
    EXPECT_EQ(buttons[i].hidden, i == 5 || i == 6 || i == 10) << i;
  }
  EXPECT_EQ(std::string(buttons[8].caption), "清空记录");
  EXPECT_EQ(std::string(buttons[8].tooltip), "清空连接记录");
  EXPECT_EQ(buttons[6].caption, nullptr);
  EXPECT_EQ(std::string(MainWindow().title), "Lumora  Lumora");
}

}  // namespace
}  // namespace lumora::forms
