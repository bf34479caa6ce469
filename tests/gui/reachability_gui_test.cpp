// A reachability pass on the real main window: loopback rows turn online through icmp.dll.
#include <windows.h>

#include <fstream>

#include "app/program.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "gui_fixture.h"
#include "platform/program_directory.h"
#include "status/reachability_pass.h"
#include "support/catalogue_file.h"
#include "support/temp_directory.h"
#include "support/unresolvable_host.h"

namespace lumora::gui_tests {
namespace {

using forms::MainWindow;

class ReachabilityGuiTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    SetProgramDirectory(directory_.Path());
    ASSERT_TRUE(testing_support::CreateCatalogue(ProgramFile("mstsc.mdb")));
    app::RegisterWindows();
  }
  void TearDown() override {
    DestroyMainWindowAfterItsPasses();
    GuiTest::TearDown();
  }

  testing_support::TempDirectory directory_;
};

TEST_F(ReachabilityGuiTest, LoopbackRowsTurnOnlineAndAnUnknownNameOffline) {
  ASSERT_TRUE(forms::LoadWindow(MainWindow()));
  PumpUntil([] { return status::ReachabilityPassesRunning() == 0; });
  forms::Control list = forms::ServerList();
  for (const char* host : {"127.0.0.1", "127.0.0.2", testing_support::kUnresolvableHost}) {
    list.SetRowImage(list.AppendRow(host), 3);
  }
  status::StartReachabilityPass();
  ASSERT_TRUE(PumpUntil(
      [&] { return status::ReachabilityPassesRunning() == 0 && list.CellText(2, 3) == "离线"; }));
  for (int row : {0, 1}) {
    EXPECT_EQ(list.CellText(row, 3), "在线") << row;
    const Text delay = list.CellText(row, 4);
    ASSERT_GE(delay.size(), 3u) << row;
    EXPECT_EQ(delay.substr(delay.size() - 2), "ms") << row;
    EXPECT_EQ(list.RowImage(row), 1) << row;
  }
  EXPECT_EQ(list.CellText(2, 4), "超时");
  EXPECT_EQ(list.RowImage(2), 0);
}

}  // namespace
}  // namespace lumora::gui_tests
