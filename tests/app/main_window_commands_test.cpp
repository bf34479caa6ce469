#include "app/main_window_commands.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/program.h"
#include "forms/headless/headless_window_system.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "platform/program_directory.h"
#include "support/catalogue_file.h"
#include "support/last_record.h"
#include "support/temp_directory.h"

namespace lumora::app {
namespace {

using forms::MainWindow;
namespace toolbar = forms::main_toolbar;

class MainWindowCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramDirectory(directory_.Path());
    ASSERT_TRUE(testing_support::CreateCatalogue(ProgramFile("mstsc.mdb")));
    forms::InstallWindowSystem(system_);
    RegisterWindows();
    ASSERT_TRUE(forms::LoadWindow(MainWindow()));
  }

  void AddRows(int count) {
    for (int i = 0; i < count; ++i) {
      forms::ServerList().AppendRow("127.0.0." + std::to_string(i + 1));
    }
  }
  const Text& LastTip() const { return testing_support::LastBalloon(system_).text; }

  testing_support::TempDirectory directory_;
  forms::HeadlessWindowSystem system_;
};

TEST_F(MainWindowCommandsTest, ConnectWithAnEmptyListSaysSo) {
  system_.SetCursorPosition({321, 123});
  ASSERT_TRUE(system_.ClickToolbarButton(MainWindow(), "工具条1", toolbar::kConnect));
  ASSERT_EQ(system_.Balloons().size(), 1u);
  EXPECT_EQ(LastTip(), "服务器列表是空的!");
  EXPECT_EQ(testing_support::LastBalloon(system_).position.x, 321);
  EXPECT_EQ(testing_support::LastBalloon(system_).position.y, 123);
}

TEST_F(MainWindowCommandsTest, ConnectWithoutACurrentRowAsksForOne) {
  AddRows(3);
  ASSERT_TRUE(system_.ClickToolbarButton(MainWindow(), "工具条1", toolbar::kConnect));
  EXPECT_EQ(LastTip(), "请选择要连接的服务器！");
}

// The empty part of the list (or an empty list) is no server: a double-click there does nothing.
TEST_F(MainWindowCommandsTest, DoubleClickOnTheEmptyPartOfTheListDoesNothing) {
  ASSERT_TRUE(system_.DoubleClickRow(MainWindow(), "超级列表框1", -1));
  AddRows(2);
  ASSERT_TRUE(system_.DoubleClickRow(MainWindow(), "超级列表框1", -1));
  EXPECT_TRUE(system_.Balloons().empty());
  EXPECT_TRUE(system_.MessageBoxes().empty());
}

// The toolbar's keys on the list, each seen by what its command says with no row chosen.
TEST_F(MainWindowCommandsTest, TheToolbarsKeysRunItsCommands) {
  AddRows(2);
  const struct {
    int key;
    int keyState;
    const char* tip;
  } cases[] = {
      {13, 0, "请选择要连接的服务器！"},   // Enter: connect
      {46, 0, "请选择要删除的服务器！"},   // Delete: delete the ticked rows
      {113, 0, "请选中要修改的服务器！"},  // F2: modify
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(system_.PressKey(MainWindow(), "超级列表框1", c.key, c.keyState));
    EXPECT_EQ(LastTip(), c.tip) << c.key;
  }
  const std::size_t tips = system_.Balloons().size();
  for (const int key : {int{'A'}, int{'N'}, 112}) {  // other keys, N without Ctrl, F1
    ASSERT_TRUE(system_.PressKey(MainWindow(), "超级列表框1", key));
  }
  EXPECT_EQ(system_.Balloons().size(), tips);
  EXPECT_TRUE(system_.MessageBoxes().empty());
}

TEST_F(MainWindowCommandsTest, TheListsMenuOffersTheVisibleToolbarCommandsAndRunsTheChosenOne) {
  AddRows(2);
  system_.QueueMenuChoice(3);  // the fourth item
  ASSERT_TRUE(system_.PressMenuKey(MainWindow(), "超级列表框1"));
  ASSERT_EQ(system_.Menus().size(), 1u);
  EXPECT_EQ(system_.Menus()[0],
            (std::vector<Text>{"连接Lumora(&C)\tEnter", "添加Lumora(&A)\tIns", "修改Lumora(&M)\tF2",
                               "删除Lumora(&D)\tDel", "刷新Lumora(&R)\tF5", "系统设置(&S)",
                               "清空记录(&H)", "使用说明(&U)"}));
  EXPECT_EQ(LastTip(), "请选择要删除的服务器！");
  ASSERT_TRUE(system_.PressMenuKey(MainWindow(), "超级列表框1"));  // dismissed: nothing runs
  EXPECT_EQ(system_.Balloons().size(), 1u);
  EXPECT_TRUE(system_.MessageBoxes().empty());
}

TEST_F(MainWindowCommandsTest, AboutBoxHasItsTitleIconAndLines) {
  ASSERT_TRUE(system_.ClickToolbarButton(MainWindow(), "工具条1", toolbar::kAbout));
  ASSERT_EQ(system_.MessageBoxes().size(), 1u);
  const auto& box = system_.MessageBoxes()[0];
  EXPECT_EQ(box.title, "关于文档");
  EXPECT_EQ(box.style, forms::box::kIconInformation | forms::box::kTaskModal);
  const Text expectedStart =
      "       Tarn远程管理系统\r\n\r\n  本程序用于网吧﹑服务器管理员等。\r\n\r\n"
      "方便多计算机用户管理及远程协助使用。\r\n\r\n                     请勿非法使用!\r\n\r\n"
      "              ";
  EXPECT_EQ(box.text.substr(0, expectedStart.size()), expectedStart);
  EXPECT_EQ(box.text.substr(box.text.size() - 4), "\r\n\r\n");
  EXPECT_NE(box.text[expectedStart.size()], ' ');
}

TEST_F(MainWindowCommandsTest, HiddenButtonsCannotBeClicked) {
  for (int hidden : {toolbar::kImport, toolbar::kBlank, toolbar::kExit}) {
    EXPECT_FALSE(system_.ClickToolbarButton(MainWindow(), "工具条1", hidden)) << hidden;
  }
  EXPECT_FALSE(system_.EndedWith().has_value());
}

TEST_F(MainWindowCommandsTest, TickedRowsAreCollectedInAscendingOrder) {
  AddRows(5);
  EXPECT_TRUE(forms::TickedRows(forms::ServerList()).empty());
  ASSERT_TRUE(system_.TickRow(MainWindow(), "超级列表框1", 4, true));
  ASSERT_TRUE(system_.TickRow(MainWindow(), "超级列表框1", 1, true));
  ASSERT_TRUE(system_.TickRow(MainWindow(), "超级列表框1", 2, true));
  ASSERT_TRUE(system_.TickRow(MainWindow(), "超级列表框1", 2, false));
  EXPECT_EQ(forms::TickedRows(forms::ServerList()), (std::vector<int>{1, 4}));
}

}  // namespace
}  // namespace lumora::app
