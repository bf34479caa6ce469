// Connecting from the real main window: the stand-in client (tools/standin_mstsc), found along
// the search path as "mstsc", records how it was started and the file it was given.
#include <windows.h>

#include <commctrl.h>
#include <wincrypt.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/program.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "gui_fixture.h"
#include "platform/code_page.h"
#include "platform/files.h"
#include "platform/program_directory.h"
#include "program_gui_test.h"
#include "scoped_variable.h"
#include "seen_by_user.h"
#include "status/reachability_pass.h"
#include "support/catalogue_file.h"
#include "support/file_bytes.h"
#include "support/stand_in_client.h"
#include "support/temp_directory.h"

namespace lumora::gui_tests {
namespace {

using forms::MainWindow;
using testing_support::ServerRow;

using testing_support::StandInDirectory;

using testing_support::ReadBytes;

std::vector<std::string> SplitAt(const std::string& text, const std::string& separator) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    if (end == std::string::npos) {
      pieces.push_back(text.substr(start));
      return pieces;
    }
    pieces.push_back(text.substr(start, end - start));
    start = end + separator.size();
  }
}

// The password that line 20 of a session file carries, unprotected for this user.
std::optional<std::string> PasswordOf(const std::string& sessionFile) {
  const std::vector<std::string> lines = SplitAt(sessionFile, "\r\n");
  const std::string key = "password 51:b:";
  if (lines.size() != 47 || lines[19].rfind(key, 0) != 0) {
    return std::nullopt;
  }
  const std::string hex = lines[19].substr(key.size());
  Bytes blob;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    blob.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  DATA_BLOB in{static_cast<DWORD>(blob.size()), blob.data()};
  DATA_BLOB out{};
  if (!CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr, 0, &out)) {
    return std::nullopt;
  }
  const std::u16string wide(reinterpret_cast<const char16_t*>(out.pbData));
  LocalFree(out.pbData);
  return platform::WideToGbk(wide);
}

class ConnectGuiTest : public ProgramGuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    // The system directory is searched before the path: a real client there would be started.
    if (platform::FileExists(std::string(system) + "\\mstsc.exe")) {
      GTEST_SKIP() << "this system has its own mstsc.exe";
    }
    ASSERT_TRUE(platform::FileExists(StandInDirectory() + "\\mstsc.exe")) << StandInDirectory();
    SetProgramDirectory(program_.Path());
    testing_support::CatalogueRow second = ServerRow("127.0.0.2", "3390", "运维", "密码pw2");
    second[4].second = "CORP";
    ASSERT_TRUE(testing_support::CreateCatalogue(
        ProgramFile("mstsc.mdb"), {ServerRow("127.0.0.1", "3389", "admin", "pw1"), second}));
    path_.emplace("PATH", StandInDirectory() + ";" + Variable("PATH"));
    log_variable_.emplace("LUMORA_STANDIN_LOG", log_.Path());
    app::RegisterWindows();
    ASSERT_TRUE(forms::LoadWindow(MainWindow()));
    // The rows must not change under the test.
    ASSERT_TRUE(PumpUntil([] { return status::ReachabilityPassesRunning() == 0; }));
    list_ = ControlWindow(MainWindow(), "超级列表框1");
  }
  void TearDown() override {
    DestroyMainWindowAfterItsPasses();
    GuiTest::TearDown();
  }

  bool WaitForClient() {
    return PumpUntil([&] { return log_.Contains("command-line.txt"); });
  }

  testing_support::TempDirectory program_;
  testing_support::TempDirectory log_;
  std::optional<ScopedVariable> path_;
  std::optional<ScopedVariable> log_variable_;
  HWND list_ = nullptr;
};

TEST_F(ConnectGuiTest, DoubleClickStartsTheClientOnTheRowsFile) {
  DoubleClickRow(1);
  ASSERT_TRUE(WaitForClient());
  const Text path = program_.Path() + "\\History\\127.0.0.2.rdp";
  EXPECT_EQ(ReadBytes(log_.NativePath("command-line.txt")), "mstsc \"" + path + "\" /admin ");
  EXPECT_EQ(SplitAt(ReadBytes(log_.NativePath("argv.txt")), "\n"),
            (std::vector<std::string>{"mstsc", path, "/admin", ""}));
  const std::string written = ReadBytes(program_.NativePath("History/127.0.0.2.rdp"));
  EXPECT_EQ(ReadBytes(log_.NativePath("session.rdp")), written);
  const std::vector<std::string> lines = SplitAt(written, "\r\n");
  ASSERT_EQ(lines.size(), 47u);
  EXPECT_EQ(lines[5], "full address:s:127.0.0.2:3390");
  EXPECT_EQ(lines[15], "username:s:运维");
  EXPECT_EQ(lines[16], "domain:s:CORP");
  EXPECT_EQ(PasswordOf(written), std::optional<std::string>("密码pw2"));
  EXPECT_EQ(TipText(), L"正在进行远程协助!");
}

TEST_F(ConnectGuiTest, ToolbarConnectWithoutHistoryFolderCreatesIt) {
  ASSERT_FALSE(program_.Contains("History"));
  PostClick(list_, RowCentre(list_, 0));
  ASSERT_TRUE(PumpUntil([] { return forms::ServerList().CurrentRow() == 0; }));
  HWND toolbar = ControlWindow(MainWindow(), "工具条1");
  RECT button{};
  ASSERT_TRUE(SendMessageW(toolbar, TB_GETITEMRECT, forms::main_toolbar::kConnect,
                           reinterpret_cast<LPARAM>(&button)));
  PostClick(toolbar, Centre(button));
  ASSERT_TRUE(WaitForClient());
  EXPECT_TRUE(program_.Contains("History/127.0.0.1.rdp"));
  EXPECT_EQ(PasswordOf(ReadBytes(program_.NativePath("History/127.0.0.1.rdp"))),
            std::optional<std::string>("pw1"));
  EXPECT_EQ(TipText(), L"正在进行远程协助!");
}

TEST_F(ConnectGuiTest, HostNameWithTwoDotsIsRefusedWithATip) {
  forms::ServerList().SetCellText(0, 0, "..\\..\\evil");
  DoubleClickRow(0);
  EXPECT_EQ(TipText(), L"远程RDP文件写出出错!");
  EXPECT_FALSE(program_.Contains("History"));
  EXPECT_FALSE(std::filesystem::exists(
      std::filesystem::path(program_.NativePath("x")).parent_path() / ".." / "evil.rdp"));
  EXPECT_FALSE(log_.Contains("argv.txt"));
}

TEST_F(ConnectGuiTest, MissingClientIsToldInTheTip) {
  path_.emplace("PATH", program_.Path());
  DoubleClickRow(0);
  EXPECT_EQ(TipText(), L"远程桌面程序启动失败!");
  EXPECT_TRUE(program_.Contains("History/127.0.0.1.rdp"));
}

TEST_F(ConnectGuiTest, ClearingTheHistoryDeletesTheFilesAndSaysSo) {
  DoubleClickRow(0);
  ASSERT_TRUE(WaitForClient());
  ASSERT_TRUE(platform::WriteFileContent(program_.Path() + "\\History\\other.rdp", "x"));
  ASSERT_TRUE(platform::WriteFileContent(program_.Path() + "\\History\\notes.txt", "x"));
  HWND toolbar = ControlWindow(MainWindow(), "工具条1");
  RECT button{};
  ASSERT_TRUE(SendMessageW(toolbar, TB_GETITEMRECT, forms::main_toolbar::kClearHistory,
                           reinterpret_cast<LPARAM>(&button)));
  MessageBoxWatcher watcher;
  PostClick(toolbar, Centre(button));
  ASSERT_TRUE(PumpUntil([&] { return watcher.Seen(); }));
  PumpPending();
  EXPECT_EQ(watcher.Box().title, L"提示信息!");
  EXPECT_EQ(watcher.Box().text, L"历史连接记录已全部被清空!");
  EXPECT_TRUE(watcher.Box().informationIcon);
  EXPECT_TRUE(watcher.Box().onlyAnOkButton);
  EXPECT_FALSE(watcher.Box().hasOwner);
  EXPECT_FALSE(program_.Contains("History/127.0.0.1.rdp"));
  EXPECT_FALSE(program_.Contains("History/other.rdp"));
  EXPECT_TRUE(program_.Contains("History/notes.txt"));
}

TEST_F(ConnectGuiTest, FileThatCannotBeDeletedIsCounted) {
  ASSERT_TRUE(platform::CreateFolder(program_.Path() + "\\History"));
  ASSERT_TRUE(platform::WriteFileContent(program_.Path() + "\\History\\held.rdp", "x"));
  ASSERT_TRUE(platform::WriteFileContent(program_.Path() + "\\History\\free.rdp", "x"));
  const HANDLE held = CreateFileA((program_.Path() + "\\History\\held.rdp").c_str(), GENERIC_READ,
                                  0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  HWND toolbar = ControlWindow(MainWindow(), "工具条1");
  RECT button{};
  ASSERT_TRUE(SendMessageW(toolbar, TB_GETITEMRECT, forms::main_toolbar::kClearHistory,
                           reinterpret_cast<LPARAM>(&button)));
  MessageBoxWatcher watcher;
  PostClick(toolbar, Centre(button));
  const bool seen = PumpUntil([&] { return watcher.Seen(); });
  CloseHandle(held);
  ASSERT_TRUE(seen);
  PumpPending();
  EXPECT_EQ(watcher.Box().text, L"有1个连接记录无法删除!");
  EXPECT_TRUE(watcher.Box().exclamationIcon);
  EXPECT_TRUE(program_.Contains("History/held.rdp"));
  EXPECT_FALSE(program_.Contains("History/free.rdp"));
}

}  // namespace
}  // namespace lumora::gui_tests
