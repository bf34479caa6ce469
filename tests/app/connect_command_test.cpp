// Connecting from the server list and clearing the history, through the headless window system.
#include "app/connect_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/program.h"
#include "catalogue/main_database.h"
#include "catalogue/server_store.h"
#include "forms/headless/headless_window_system.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "launcher/launch.h"
#include "platform/program_directory.h"
#include "settings/settings_store.h"
#include "status/reachability_pass.h"
#include "support/catalogue_file.h"
#include "support/file_bytes.h"
#include "support/last_record.h"
#include "support/reachability_wait.h"
#include "support/temp_directory.h"

namespace lumora::app {
namespace {

using forms::MainWindow;
using testing_support::ServerRow;
namespace toolbar = forms::main_toolbar;

using testing_support::ReadBytes;

bool HasLine(const std::string& content, const std::string& line) {
  return ("\r\n" + content + "\r\n").find("\r\n" + line + "\r\n") != std::string::npos;
}

class ConnectCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramDirectory(directory_.Path());
    testing_support::CatalogueRow second = ServerRow("127.0.0.2", "3390", "ops", "pw2", "b");
    second[4].second = "CORP";
    ASSERT_TRUE(testing_support::CreateCatalogue(
        ProgramFile("mstsc.mdb"), {ServerRow("127.0.0.1", "3389", "admin", "pw1", "a"), second}));
    forms::InstallWindowSystem(system_);
    RegisterWindows();
    ASSERT_TRUE(forms::LoadWindow(MainWindow()));
    WaitForReachability();
    ASSERT_EQ(forms::ServerList().RowCount(), 2);
  }
  void TearDown() override { WaitForReachability(); }

  // The rows' probes write on the UI thread; let them finish so that nothing changes the list
  // under a test.
  void WaitForReachability() { testing_support::WaitForReachabilityPasses(system_); }

  const Text& LastTip() const { return testing_support::LastBalloon(system_).text; }

  Text CurrentRecordName() {
    Text name;
    catalogue::MainRecords().GetFieldText(catalogue::kColumnServerName, name);
    return name;
  }

  testing_support::TempDirectory directory_;
  forms::HeadlessWindowSystem system_;
};

TEST_F(ConnectCommandTest, DoubleClickWritesTheRowsFileAndTellsTheOutcome) {
  ASSERT_TRUE(system_.DoubleClickRow(MainWindow(), "超级列表框1", 1));
  const std::string content = ReadBytes(directory_.NativePath("History/127.0.0.2.rdp"));
  EXPECT_TRUE(HasLine(content, "full address:s:127.0.0.2:3390"));
  EXPECT_TRUE(HasLine(content, "username:s:ops"));
  EXPECT_TRUE(HasLine(content, "domain:s:CORP"));
  EXPECT_TRUE(HasLine(content, "desktopwidth:i:800"));
  ASSERT_EQ(system_.Balloons().size(), 1u);
  // Whether a client exists here is the machine's business; the file was written either way.
  EXPECT_TRUE(LastTip() == launcher::LaunchTip(launcher::LaunchOutcome::kStarted) ||
              LastTip() == launcher::LaunchTip(launcher::LaunchOutcome::kClientNotStarted))
      << LastTip();
}

TEST_F(ConnectCommandTest, ConnectReadsTheListsCellsAndMovesTheRecordSetItself) {
  ASSERT_TRUE(system_.ClickRow(MainWindow(), "超级列表框1", 0));
  EXPECT_EQ(CurrentRecordName(), "127.0.0.1");
  // A selection made without a click leaves the record set where it was: the command moves it.
  forms::Control list = forms::ServerList();
  list.SetCurrentRow(1);
  list.SetCellText(1, 1, "5000");
  list.SetCellText(1, 2, "from-the-list");
  list.SetCellText(1, 7, "LISTDOMAIN");
  ASSERT_TRUE(system_.ClickToolbarButton(MainWindow(), "工具条1", toolbar::kConnect));
  EXPECT_EQ(CurrentRecordName(), "127.0.0.2");
  const std::string content = ReadBytes(directory_.NativePath("History/127.0.0.2.rdp"));
  EXPECT_TRUE(HasLine(content, "full address:s:127.0.0.2:5000"));
  EXPECT_TRUE(HasLine(content, "username:s:from-the-list"));
  EXPECT_TRUE(HasLine(content, "domain:s:LISTDOMAIN"));
}

TEST_F(ConnectCommandTest, SettingsAreReadAfreshForEveryConnection) {
  ASSERT_TRUE(system_.DoubleClickRow(MainWindow(), "超级列表框1", 0));
  settings::WriteSetting(settings::kSessionSection, settings::key::kWindowSize, "1280×1024");
  ASSERT_TRUE(system_.DoubleClickRow(MainWindow(), "超级列表框1", 0));
  const std::string content = ReadBytes(directory_.NativePath("History/127.0.0.1.rdp"));
  EXPECT_TRUE(HasLine(content, "desktopwidth:i:1280"));
  EXPECT_TRUE(HasLine(content, "desktopheight:i:1024"));
}

TEST_F(ConnectCommandTest, HostNameWithTwoDotsIsRefusedWithTheWriteTip) {
  forms::Control list = forms::ServerList();
  list.SetCellText(0, 0, "..\\..\\evil");
  ASSERT_TRUE(system_.DoubleClickRow(MainWindow(), "超级列表框1", 0));
  EXPECT_EQ(LastTip(), "远程RDP文件写出出错!");
  EXPECT_FALSE(directory_.Contains("History"));
  EXPECT_FALSE(std::filesystem::exists(
      std::filesystem::path(directory_.NativePath("x")).parent_path().parent_path() / "evil.rdp"));
}

TEST_F(ConnectCommandTest, UnwritableFileGivesTheWriteTip) {
  // A folder in the file's place cannot be opened for writing.
  std::filesystem::create_directories(directory_.NativePath("History/127.0.0.1.rdp"));
  ASSERT_TRUE(system_.DoubleClickRow(MainWindow(), "超级列表框1", 0));
  EXPECT_EQ(LastTip(), "远程RDP文件写出出错!");
}

class ClearHistoryCommandTest : public ConnectCommandTest {
 protected:
  void MakeFile(const std::string& relative) {
    const std::filesystem::path path = directory_.NativePath(relative);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << "x";
  }
};

TEST_F(ClearHistoryCommandTest, DeletesTheSessionFilesAndSaysSo) {
  MakeFile("History/a.rdp");
  MakeFile("History/b.rdp");
  MakeFile("History/notes.txt");
  MakeFile("History/below/c.rdp");
  ASSERT_TRUE(system_.ClickToolbarButton(MainWindow(), "工具条1", toolbar::kClearHistory));
  ASSERT_EQ(system_.MessageBoxes().size(), 1u);
  const auto& box = system_.MessageBoxes()[0];
  EXPECT_EQ(box.text, "历史连接记录已全部被清空!");
  EXPECT_EQ(box.title, "提示信息!");
  EXPECT_EQ(box.style, forms::box::kIconInformation | forms::box::kTaskModal);
  EXPECT_FALSE(directory_.Contains("History/a.rdp"));
  EXPECT_FALSE(directory_.Contains("History/b.rdp"));
  EXPECT_TRUE(directory_.Contains("History/notes.txt"));
  EXPECT_TRUE(directory_.Contains("History/below/c.rdp"));
}

TEST_F(ClearHistoryCommandTest, WithoutHistoryFolderItStillReportsAllCleared) {
  ASSERT_TRUE(system_.ClickToolbarButton(MainWindow(), "工具条1", toolbar::kClearHistory));
  ASSERT_EQ(system_.MessageBoxes().size(), 1u);
  EXPECT_EQ(system_.MessageBoxes()[0].text, "历史连接记录已全部被清空!");
  EXPECT_TRUE(system_.Balloons().empty());
}

TEST_F(ClearHistoryCommandTest, ConnectionsWrittenThenClearedLeaveAnEmptyFolder) {
  ASSERT_TRUE(system_.DoubleClickRow(MainWindow(), "超级列表框1", 0));
  ASSERT_TRUE(system_.DoubleClickRow(MainWindow(), "超级列表框1", 1));
  ASSERT_TRUE(directory_.Contains("History/127.0.0.2.rdp"));
  ASSERT_TRUE(system_.ClickToolbarButton(MainWindow(), "工具条1", toolbar::kClearHistory));
  EXPECT_TRUE(std::filesystem::is_empty(directory_.NativePath("History")));
}

}  // namespace
}  // namespace lumora::app
