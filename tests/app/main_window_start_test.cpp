#include "app/main_window_start.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/server_list.h"
#include "catalogue/main_database.h"
#include "forms/headless/headless_window_system.h"
#include "forms/host_editor_window.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "platform/echo_probe.h"
#include "platform/profile.h"
#include "platform/program_directory.h"
#include "settings/settings_store.h"
#include "status/reachability_pass.h"
#include "support/catalogue_file.h"
#include "support/last_record.h"
#include "support/reachability_wait.h"
#include "support/temp_directory.h"

namespace lumora::app {
namespace {

class MainWindowStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramDirectory(directory_.Path());
    ASSERT_TRUE(testing_support::CreateCatalogue(ProgramFile("mstsc.mdb")));
    forms::InstallWindowSystem(system_);
    RegisterWindows();
  }

  testing_support::TempDirectory directory_;
  forms::HeadlessWindowSystem system_;
};

// Answers every probe at once, so that no test reaches the network.
class InstantProbe : public platform::EchoProbe {
 public:
  std::optional<unsigned> Echo(const Text&, unsigned) override { return 1; }
};

class FilledMainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramDirectory(directory_.Path());
    status::SetEchoProbeForTesting(&probe_);
    forms::InstallWindowSystem(system_);
    RegisterWindows();
  }
  void TearDown() override {
    // Workers post to this test's window system: it must outlive them.
    testing_support::WaitForReachabilityPasses(system_);
    status::SetEchoProbeForTesting(nullptr);
  }

  testing_support::TempDirectory directory_;
  forms::HeadlessWindowSystem system_;
  InstantProbe probe_;
};

TEST_F(FilledMainWindowTest, RowsComeFromTableServerInTableOrder) {
  ASSERT_TRUE(testing_support::CreateCatalogue(
      ProgramFile("mstsc.mdb"),
      {testing_support::ServerRow("127.0.0.1", "3389", "管理员", "pw1", "机房一"),
       testing_support::ServerRow("127.0.0.2", "33890", "", "", "")}));
  ASSERT_TRUE(forms::LoadWindow(forms::MainWindow()));
  const forms::Control list = forms::ServerList();
  ASSERT_EQ(list.RowCount(), 2);
  EXPECT_EQ(list.CellText(0, 0), "127.0.0.1");
  EXPECT_EQ(list.CellText(0, 1), "3389");
  EXPECT_EQ(list.CellText(0, 2), "管理员");
  EXPECT_EQ(list.CellText(0, 5), "机房一");
  EXPECT_EQ(list.CellText(1, 1), "33890");
  EXPECT_EQ(list.CellText(1, 2), "");
  EXPECT_EQ(list.CurrentRow(), -1);
  EXPECT_TRUE(system_.MessageBoxes().empty());
}

// After every add, modify and delete the list is filled again: the user keeps the rows in view and
// the server selected, found by its record number; a server that went selects nothing.
TEST_F(FilledMainWindowTest, ARefillKeepsTheViewAndTheSelectedServer) {
  std::vector<testing_support::CatalogueRow> rows;
  for (int row = 1; row <= 20; ++row) {
    rows.push_back(testing_support::ServerRow("127.0.0." + std::to_string(row)));
  }
  ASSERT_TRUE(testing_support::CreateCatalogue(ProgramFile("mstsc.mdb"), rows));
  ASSERT_TRUE(forms::LoadWindow(forms::MainWindow()));
  forms::Control list = forms::ServerList();
  list.ScrollToTopRow(5);
  list.SetCurrentRow(9);
  FillServerList();
  EXPECT_EQ(list.TopRow(), 5);
  ASSERT_EQ(list.CurrentRow(), 9);
  EXPECT_EQ(list.CellText(9, forms::server_cell::kHost), "127.0.0.10");

  // Another program deleted the first rows: the same server, on its new row.
  ASSERT_TRUE(catalogue::MainConnection().Execute("delete from Server where 编号<4"));
  FillServerList();
  ASSERT_EQ(list.CurrentRow(), 6);
  EXPECT_EQ(list.CellText(6, forms::server_cell::kHost), "127.0.0.10");
  ASSERT_TRUE(catalogue::MainConnection().Execute("delete from Server where 编号=10"));
  FillServerList();
  EXPECT_EQ(list.CurrentRow(), -1);
}

TEST_F(FilledMainWindowTest, AClickOnARowMovesTheRecordSetToItsServer) {
  ASSERT_TRUE(testing_support::CreateCatalogue(
      ProgramFile("mstsc.mdb"), {testing_support::ServerRow("127.0.0.1", "3389", "a", "first"),
                                 testing_support::ServerRow("127.0.0.2", "3389", "b", "second")}));
  ASSERT_TRUE(forms::LoadWindow(forms::MainWindow()));
  ASSERT_TRUE(system_.ClickRow(forms::MainWindow(), "超级列表框1", 1));
  Text password;
  EXPECT_TRUE(catalogue::MainRecords().GetFieldText("密码", password));
  EXPECT_EQ(password, "second");
}

TEST_F(FilledMainWindowTest, AnUnreadableCatalogueIsReportedAndTheListStaysEmpty) {
  std::ofstream(directory_.NativePath("mstsc.mdb")) << "not an Access database";
  ASSERT_TRUE(forms::LoadWindow(forms::MainWindow()));
  ASSERT_EQ(system_.MessageBoxes().size(), 1u);
  EXPECT_EQ(system_.MessageBoxes()[0].title, "提示信息!");
  EXPECT_NE(system_.MessageBoxes()[0].text.find("mstsc.mdb"), Text::npos);
  EXPECT_EQ(forms::ServerList().RowCount(), 0);
  EXPECT_TRUE(forms::IsLoaded(forms::MainWindow()));
  // Every change says why it cannot be made, before anything is typed.
  for (const int button :
       {forms::main_toolbar::kAdd, forms::main_toolbar::kModify, forms::main_toolbar::kDelete}) {
    ASSERT_TRUE(system_.ClickToolbarButton(forms::MainWindow(), "工具条1", button));
    EXPECT_EQ(
        testing_support::LastMessageBox(system_).text.rfind("数据文件无法打开，无法修改：", 0), 0u)
        << button;
    EXPECT_FALSE(forms::IsLoaded(forms::HostEditorWindow()));
  }
  EXPECT_EQ(system_.MessageBoxes().size(), 4u);
}

TEST_F(MainWindowStartTest, MissingSettingsFileIsWrittenWithDefaults) {
  ASSERT_FALSE(directory_.Contains("config.ini"));
  ASSERT_TRUE(forms::LoadWindow(forms::MainWindow()));
  EXPECT_TRUE(directory_.Contains("config.ini"));
  EXPECT_EQ(settings::ReadSetting(settings::kSessionSection, settings::key::kWindowSize),
            "800×600");
  EXPECT_TRUE(system_.MessageBoxes().empty());
}

TEST_F(MainWindowStartTest, ExistingSettingsFileIsLeftAsItIs) {
  ASSERT_TRUE(platform::WriteProfileText(settings::SettingsFile(), settings::kSessionSection,
                                         settings::key::kClipboard, "0"));
  ASSERT_TRUE(forms::LoadWindow(forms::MainWindow()));
  EXPECT_EQ(settings::ReadSetting(settings::kSessionSection, settings::key::kClipboard), "0");
  EXPECT_EQ(settings::ReadSetting(settings::kSessionSection, settings::key::kWindowSize), "");
}

}  // namespace
}  // namespace lumora::app
