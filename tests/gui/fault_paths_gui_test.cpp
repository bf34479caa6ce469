// The faults of the files beside the program as the user meets them on the real main window: the
// message box at start, the rows' state and the location column.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "app/program.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "gui_fixture.h"
#include "platform/echo_probe.h"
#include "platform/program_directory.h"
#include "seen_by_user.h"
#include "services/jet/database.h"
#include "status/reachability_pass.h"
#include "support/catalogue_file.h"
#include "support/file_bytes.h"
#include "support/temp_directory.h"

namespace lumora::gui_tests {
namespace {

using forms::MainWindow;
using testing_support::ServerRow;

// A computer whose ICMP service cannot be set up.
class UnavailableProbe : public platform::EchoProbe {
 public:
  std::optional<unsigned> Echo(const Text&, unsigned) override { return std::nullopt; }
  bool Available() override { return false; }
};

using testing_support::ReadBytes;

class FaultPathsGuiTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    SetProgramDirectory(directory_.Path());
    app::RegisterWindows();
    ASSERT_TRUE(testing_support::CreateCatalogue(
        ProgramFile("mstsc.mdb"),
        {ServerRow("127.0.0.1", "3389", "admin"), ServerRow("127.0.0.2", "3389", "ops")}));
  }
  void TearDown() override {
    DestroyMainWindowAfterItsPasses();
    status::SetEchoProbeForTesting(nullptr);
    writer_.reset();
    GuiTest::TearDown();
  }

  // Loads the main window; a box shown while it starts is read and answered OK.
  void Start() {
    ASSERT_TRUE(forms::LoadWindow(MainWindow()));
    ASSERT_TRUE(PumpUntil([] { return status::ReachabilityPassesRunning() == 0; }));
  }

  testing_support::TempDirectory directory_;
  std::optional<jet::Database> writer_;
};

TEST_F(FaultPathsGuiTest, CatalogueThatIsNoAccessFileIsToldInABoxAndKeptAsItWas) {
  std::ofstream(directory_.NativePath("mstsc.mdb"), std::ios::binary) << "saved by a text editor";
  MessageBoxWatcher watcher;
  Start();
  ASSERT_TRUE(PumpUntil([&] { return watcher.Seen(); }));
  EXPECT_EQ(watcher.Box().title, L"提示信息!");
  EXPECT_NE(watcher.Box().text.find(L"mstsc.mdb无法打开"), std::wstring::npos);
  EXPECT_TRUE(watcher.Box().exclamationIcon);
  EXPECT_TRUE(forms::IsLoaded(MainWindow()));
  EXPECT_EQ(forms::ServerList().RowCount(), 0);
  EXPECT_EQ(ReadBytes(directory_.NativePath("mstsc.mdb")), "saved by a text editor");
}

TEST_F(FaultPathsGuiTest, CatalogueHeldByAnotherWriterIsListedAndSaidToBeReadOnly) {
  writer_ = jet::Database::Open(ProgramFile("mstsc.mdb"), /*read_only=*/false);
  ASSERT_TRUE(writer_.has_value());
  MessageBoxWatcher watcher;
  Start();
  ASSERT_TRUE(PumpUntil([&] { return watcher.Seen(); }));
  EXPECT_NE(watcher.Box().text.find(L"只能查看"), std::wstring::npos);
  EXPECT_TRUE(watcher.Box().exclamationIcon);
  EXPECT_EQ(forms::ServerList().RowCount(), 2);
}

TEST_F(FaultPathsGuiTest, ProbingThatCannotBeDoneShowsUnknownRowsAndSaysWhy) {
  UnavailableProbe probe;
  status::SetEchoProbeForTesting(&probe);
  Start();
  const forms::Control list = forms::ServerList();
  ASSERT_TRUE(PumpUntil([&] { return list.CellText(1, 3) == "未知"; }));
  for (int row = 0; row < 2; ++row) {
    EXPECT_EQ(list.CellText(row, 3), "未知") << row;
    EXPECT_EQ(list.CellText(row, 4), "无法检测") << row;
    EXPECT_EQ(list.RowImage(row), 3) << row;
  }
  std::wstring tip;
  ASSERT_TRUE(PumpUntil([&] { return VisibleBalloonText(tip) && !tip.empty(); }));
  EXPECT_EQ(tip, L"无法检测服务器状态：系统的ICMP服务(icmp.dll)不可用!");
}

TEST_F(FaultPathsGuiTest, TruncatedLocationDatabaseIsNamedInTheLocationColumn) {
  // A header that promises an index far past the end of what is left of the file.
  std::ofstream(directory_.NativePath("QQWry.dat"), std::ios::binary)
      << std::string("\x10\x00\x00\x00\x17\x00\x01\x00", 8) << "cut here";
  Start();
  const forms::Control list = forms::ServerList();
  ASSERT_EQ(list.RowCount(), 2);
  for (int row = 0; row < 2; ++row) {
    EXPECT_EQ(list.CellText(row, 6), "IP数据库文件已损坏") << row;
  }
}

}  // namespace
}  // namespace lumora::gui_tests
