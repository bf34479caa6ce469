// Connecting for real from the main window: mstsc.exe from tools/rdp_client (FreeRDP under Wine)
// on the program's search path, a private xrdp on 127.0.0.1 with a test user. Run by
// real_session_gui_test.sh under scripts/rdp/with-test-server, which names the server in
// LUMORA_RDP_TEST_SERVER; skipped everywhere else.
#include <windows.h>

#include <tlhelp32.h>

#include <map>
#include <optional>
#include <set>
#include <string>

#include "app/program.h"
#include "forms/host_editor_window.h"
#include "forms/main_window.h"
#include "forms/settings_window.h"
#include "forms/window_model.h"
#include "journey_screens.h"
#include "platform/code_page.h"
#include "platform/program_directory.h"
#include "program_gui_test.h"
#include "scoped_variable.h"
#include "seen_by_user.h"
#include "settings/settings_store.h"
#include "support/catalogue_file.h"
#include "support/file_bytes.h"
#include "support/temp_directory.h"

namespace lumora::gui_tests {
namespace {

using forms::HostEditorWindow;
using forms::MainWindow;

constexpr int kBoxTextId = 0xFFFF;

using testing_support::ReadBytes;

std::wstring FromUtf8(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  wide.resize(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                  wide.data(), static_cast<int>(wide.size())));
  return wide;
}

Text Gbk(const std::wstring& text) {
  return platform::WideToGbk(std::u16string(text.begin(), text.end()));
}

// The server as the script describes it: "key=value" lines in UTF-8.
struct TestServer {
  std::wstring port;
  std::wstring downPort;
  std::wstring user;
  std::wstring password;
  std::string sesmanLog;  // a path this process can open
};

std::optional<TestServer> ReadTestServer() {
  const std::string file = Variable("LUMORA_RDP_TEST_SERVER");
  if (file.empty()) {
    return std::nullopt;
  }
  std::map<std::string, std::string> values;
  const std::string text = ReadBytes(file);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end;
    const std::string line = text.substr(start, end - start);
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos) {
      values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    start = end + 1;
  }
  return TestServer{FromUtf8(values["port"]), FromUtf8(values["down_port"]),
                    FromUtf8(values["user"]), FromUtf8(values["password"]), values["sesman_log"]};
}

// The folder the build put mstsc.exe in, as this process names it.
std::string BridgeDirectory() {
  const std::string bridge = HostPathUnderWine(LUMORA_RDP_CLIENT);
  return bridge.substr(0, bridge.rfind('\\'));
}

// The process ids of the running bridges (mstsc.exe).
std::set<DWORD> Bridges() {
  std::set<DWORD> found;
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) {
    return found;
  }
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    if (lstrcmpiW(entry.szExeFile, L"mstsc.exe") == 0) {
      found.insert(entry.th32ProcessID);
    }
  }
  CloseHandle(snapshot);
  return found;
}

struct BoxSearch {
  std::set<DWORD> processes;
  HWND box = nullptr;
};

BOOL CALLBACK NoteBoxOf(HWND window, LPARAM search) {
  auto& wanted = *reinterpret_cast<BoxSearch*>(search);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (wanted.processes.count(process) != 0 && IsWindowVisible(window) &&
      GetDlgItem(window, kBoxTextId) != nullptr) {
    wanted.box = window;
    return FALSE;
  }
  return TRUE;
}

class RealSessionGuiTest : public ProgramGuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    const std::optional<TestServer> server = ReadTestServer();
    if (!server) {
      GTEST_SKIP() << "needs the loopback server of real_session_gui_test.sh";
    }
    server_ = *server;
    SetProgramDirectory(program_.Path());
    app::RegisterWindows();
  }
  void TearDown() override {
    WaitForQuietList();
    for (const auto* window : {&HostEditorWindow(), &MainWindow()}) {
      if (forms::IsLoaded(*window)) {
        Backend().DestroyNow(*window);
      }
    }
    GuiTest::TearDown();
  }

  // The main window over a catalogue with `rows`, the bridge first on the search path.
  void Start(const std::vector<testing_support::CatalogueRow>& rows) {
    ASSERT_TRUE(testing_support::CreateCatalogue(ProgramFile("mstsc.mdb"), rows));
    ASSERT_TRUE(forms::LoadWindow(MainWindow()));
    WaitForQuietList();
    logMark_ = ReadBytes(server_.sesmanLog).size();
  }

  testing_support::CatalogueRow Row(const std::wstring& port, const std::wstring& password) {
    return testing_support::ServerRow("127.0.0.1", Gbk(port), Gbk(server_.user), Gbk(password));
  }

  // What sesman logged since Start.
  std::string NewLog() { return ReadBytes(server_.sesmanLog).substr(logMark_); }

  // Lets messages run until `done()`; a session takes a while to come up under Wine.
  template <typename Done>
  bool PumpLongUntil(Done done) {
    for (int round = 0; round < 12; ++round) {
      if (PumpUntil(done)) {
        return true;
      }
    }
    return false;
  }

  // Double-clicks `row` and returns the bridge that this started; none when none came.
  std::optional<DWORD> ConnectTo(int row) {
    const std::set<DWORD> before = Bridges();
    DoubleClickRow(row);
    std::optional<DWORD> started;
    PumpLongUntil([&] {
      for (const DWORD process : Bridges()) {
        if (before.count(process) == 0) {
          started = process;
        }
      }
      return started.has_value();
    });
    return started;
  }

  bool Ended(DWORD bridge) {
    return PumpLongUntil([&] { return Bridges().count(bridge) == 0; });
  }

  // The program still answers the user: the about box opens from the toolbar and closes.
  void ExpectTheProgramUsable() {
    AnsweredBox about;
    UserThread user([&] { about = AnswerMessageBox(IDOK); });
    ClickToolbarButton(forms::main_toolbar::kAbout);
    FinishWhilePumping(user);
    EXPECT_EQ(about.title, L"关于文档");
  }

  testing_support::TempDirectory program_;
  ScopedVariable path_{"PATH", BridgeDirectory() + ";" + Variable("PATH")};
  TestServer server_;
  std::size_t logMark_ = 0;
};

TEST_F(RealSessionGuiTest, AServerAddedInTheEditorOpensARealSession) {
  ASSERT_NO_FATAL_FAILURE(Start({}));
  AnsweredBox added;
  UserThread user([&] {
    HWND editor = WaitForModal(HostEditorWindow());
    if (editor == nullptr) {
      return;
    }
    TypeServer(L"127.0.0.1", server_.port.c_str(), server_.password.c_str(), L"本机 xrdp",
               server_.user.c_str());
    PostMessageW(Live(HostEditorWindow(), "按钮_编辑"), BM_CLICK, 0, 0);
    added = AnswerMessageBox(IDOK);
    WaitUntil([&] { return IsWindowEnabled(editor) != FALSE; });
    PostMessageW(editor, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  ASSERT_NO_FATAL_FAILURE(RunModal(forms::main_toolbar::kAdd, HostEditorWindow(), user));
  ASSERT_EQ(added.text, L"服务器添加成功,可以继续添加!");
  WaitForQuietList();

  const std::optional<DWORD> bridge = ConnectTo(0);
  ASSERT_TRUE(bridge);
  EXPECT_EQ(TipText(), L"正在进行远程协助!");
  const std::string started = "Session started successfully for user " + Gbk(server_.user);
  ASSERT_TRUE(PumpLongUntil([&] { return NewLog().find(started) != std::string::npos; }))
      << NewLog();
  // The settings' default screen size reached the server.
  EXPECT_NE(NewLog().find("width 800, height 600, bpp 32, client ip 127.0.0.1"), std::string::npos)
      << NewLog();
  // The session goes on: its client is still there.
  EXPECT_EQ(Bridges().count(*bridge), 1u);
  ExpectTheProgramUsable();
}

TEST_F(RealSessionGuiTest, ChangedSettingsReachTheServer) {
  settings::WriteDefaults();
  ASSERT_TRUE(
      settings::WriteSetting(settings::kSessionSection, settings::key::kWindowSize, "1024×768"));
  ASSERT_TRUE(settings::WriteSetting(settings::kSessionSection, settings::key::kColourDepth, "16"));
  ASSERT_NO_FATAL_FAILURE(Start({Row(server_.port, server_.password)}));
  ASSERT_TRUE(ConnectTo(0));
  const std::string size = "width 1024, height 768, bpp 16, client ip 127.0.0.1";
  // Once the session is up, none of its lines comes after the test.
  ASSERT_TRUE(PumpLongUntil([&] {
    return NewLog().find("Session started successfully for user " + Gbk(server_.user)) !=
           std::string::npos;
  })) << NewLog();
  EXPECT_NE(NewLog().find(size), std::string::npos) << NewLog();
}

// "全屏模式" chosen in the settings window: the session takes the whole display.
TEST_F(RealSessionGuiTest, FullScreenChosenInTheSettingsWindowFillsTheDisplay) {
  settings::WriteDefaults();
  ASSERT_NO_FATAL_FAILURE(Start({Row(server_.port, server_.password)}));
  UserThread user([&] {
    HWND window = WaitForModal(forms::SettingsWindow());
    if (window == nullptr) {
      return;
    }
    SendMessageW(Live(forms::SettingsWindow(), "单选框_全屏模式"), BM_CLICK, 0, 0);
    PostMessageW(window, WM_CLOSE, 0, 0);
  });
  ASSERT_NO_FATAL_FAILURE(RunModal(forms::main_toolbar::kSettings, forms::SettingsWindow(), user));
  ASSERT_EQ(settings::ReadSetting(settings::kSessionSection, settings::key::kWindowMode), "0");
  ASSERT_TRUE(ConnectTo(0));
  const std::string size = "width " + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + ", height " +
                           std::to_string(GetSystemMetrics(SM_CYSCREEN)) + ", bpp";
  ASSERT_TRUE(PumpLongUntil([&] {
    return NewLog().find("Session started successfully for user " + Gbk(server_.user)) !=
           std::string::npos;
  })) << NewLog();
  EXPECT_NE(NewLog().find(size), std::string::npos) << size << "\n" << NewLog();
}

TEST_F(RealSessionGuiTest, AWrongPasswordIsToldAndTheProgramStaysUsable) {
  ASSERT_NO_FATAL_FAILURE(Start({Row(server_.port, L"not-" + server_.password)}));
  const std::optional<DWORD> bridge = ConnectTo(0);
  ASSERT_TRUE(bridge);
  const std::string refused = "AUTHFAIL: user=" + Gbk(server_.user);
  ASSERT_TRUE(PumpLongUntil([&] { return NewLog().find(refused) != std::string::npos; }))
      << NewLog();
  BoxSearch search{{*bridge}};
  ASSERT_TRUE(PumpLongUntil([&] {
    EnumWindows(NoteBoxOf, reinterpret_cast<LPARAM>(&search));
    return search.box != nullptr;
  }));
  EXPECT_EQ(WindowText(search.box), L"远程桌面连接");
  EXPECT_EQ(WindowText(GetDlgItem(search.box, kBoxTextId)),
            L"远程计算机 127.0.0.1:" + server_.port + L" 拒绝了登录：用户名或密码可能不正确。");
  ExpectTheProgramUsable();  // meanwhile the bridge's box has been drawn
  SaveScreenshot(HostPathUnderWine(LUMORA_SOURCE_DIR "/build/screens/rdp_wrong_password.bmp"));
  PostMessageW(search.box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(Ended(*bridge));
  EXPECT_EQ(NewLog().find("Session started successfully"), std::string::npos);
}

TEST_F(RealSessionGuiTest, AServerThatIsDownIsToldByTheClient) {
  ASSERT_NO_FATAL_FAILURE(Start({Row(server_.downPort, server_.password)}));
  const std::optional<DWORD> bridge = ConnectTo(0);
  ASSERT_TRUE(bridge);
  BoxSearch search{{*bridge}};
  ASSERT_TRUE(PumpLongUntil([&] {
    EnumWindows(NoteBoxOf, reinterpret_cast<LPARAM>(&search));
    return search.box != nullptr;
  }));
  // Beside the client's own box the program does not say a session is under way.
  PumpPending();
  std::wstring tip;
  EXPECT_FALSE(VisibleBalloonText(tip) && tip == L"正在进行远程协助!");
  SaveScreenshot(HostPathUnderWine(LUMORA_SOURCE_DIR "/build/screens/rdp_server_down.bmp"));
  // The box is the bridge's, not the program's: the program goes on meanwhile.
  ExpectTheProgramUsable();
  EXPECT_EQ(WindowText(search.box), L"远程桌面连接");
  const std::wstring text = WindowText(GetDlgItem(search.box, kBoxTextId));
  EXPECT_NE(text.find(L"无法连接到远程计算机 127.0.0.1:" + server_.downPort), std::wstring::npos)
      << Gbk(text);
  PostMessageW(search.box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(Ended(*bridge));
}

}  // namespace
}  // namespace lumora::gui_tests
