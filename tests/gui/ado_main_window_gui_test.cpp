// The real main window filled through the ADO engine: its database objects reopened on an ODBC
// data source of scripts/odbc/with-test-sources (five servers, 127.0.0.1 to 127.0.0.5) and the
// list refilled as the program does after every change.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "app/program.h"
#include "app/server_list.h"
#include "catalogue/main_database.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "gui_fixture.h"
#include "journey_screens.h"
#include "platform/program_directory.h"
#include "status/reachability_pass.h"
#include "support/catalogue_file.h"
#include "support/temp_directory.h"
#include "support/wine_gap.h"

namespace lumora::gui_tests {
namespace {

using forms::MainWindow;
using testing_support::LastDispatchFailureText;

class AdoMainWindowGuiTest : public GuiTest {
 protected:
  void SetUp() override {
    const char* source = std::getenv("LUMORA_ODBC_SQLITE");
    if (source == nullptr) {
      GTEST_SKIP() << "no ODBC data source: run through scripts/odbc/with-test-sources";
    }
    source_ = source;
    GuiTest::SetUp();
    SetProgramDirectory(directory_.Path());
    app::RegisterWindows();
  }
  void TearDown() override {
    DestroyMainWindowAfterItsPasses();
    GuiTest::TearDown();
  }

  std::string source_;
  testing_support::TempDirectory directory_;
};

TEST_F(AdoMainWindowGuiTest, TheListShowsTheServersOfTheDataSource) {
  // The window starts over a catalogue of its own (one row the data source does not have).
  ASSERT_TRUE(testing_support::CreateCatalogue(ProgramFile("mstsc.mdb"),
                                               {testing_support::ServerRow("127.0.0.200")}));
  ASSERT_TRUE(forms::LoadWindow(MainWindow()));
  HWND list = ControlWindow(MainWindow(), "超级列表框1");
  ASSERT_EQ(ListView_GetItemCount(list), 1);

  ASSERT_TRUE(
      catalogue::MainConnection().OpenConnectionString("Provider=MSDASQL;Data Source=" + source_))
      << LastDispatchFailureText();
  ASSERT_TRUE(catalogue::MainRecords().SetConnection(catalogue::MainConnection()));
  app::FillServerList();
  PumpUntil([] { return status::ReachabilityPassesRunning() == 0; });

  RedrawWindow(Frame(MainWindow()), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  SaveScreenshot(HostPathUnderWine(LUMORA_SOURCE_DIR "/build/screens/main_window_through_ado.bmp"));

  forms::Control rows = forms::ServerList();
  if (rows.RowCount() == 0) {
    // The old row is gone all the same: the refill emptied the list and read nothing.
    EXPECT_EQ(ListView_GetItemCount(list), 0);
    LUMORA_SKIP_UNDER_WINE(
        "the list is empty: the server list opens table Server by name and Recordset.Open "
        "(adCmdTable) fails with " +
        LastDispatchFailureText());
  }
  ASSERT_EQ(rows.RowCount(), 5);
  for (int row = 0; row < 5; ++row) {
    const std::string number = std::to_string(row + 1);
    EXPECT_EQ(rows.CellText(row, forms::server_cell::kHost), "127.0.0." + number) << row;
    EXPECT_EQ(rows.CellText(row, forms::server_cell::kPort), "3389") << row;
    EXPECT_EQ(rows.CellText(row, forms::server_cell::kUser), "admin") << row;
    EXPECT_EQ(rows.CellText(row, forms::server_cell::kRecordNumber), number) << row;
    EXPECT_EQ(rows.CellText(row, 3), "在线") << row;
  }
}

}  // namespace
}  // namespace lumora::gui_tests
