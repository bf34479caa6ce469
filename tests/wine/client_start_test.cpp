// A client that comes up and a moment later shows a message box of its own (as the
// remote-desktop client does for a refused log-on) is reported by the start's watcher.
#include "platform/process.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <memory>

#include "support/stand_in_client.h"
#include "support/temp_directory.h"

namespace lumora::platform {
namespace {

TEST(ClientStartTest, AMessageBoxTheClientShowsAfterComingUpIsReported) {
  testing_support::TempDirectory log;
  ::SetEnvironmentVariableA("LUMORA_STANDIN_LOG", log.Path().c_str());
  ::SetEnvironmentVariableA("LUMORA_STANDIN_TELLS", "1");
  auto told = std::make_shared<std::atomic<bool>>(false);
  const StartedProgram started =
      StartProcess("\"" + testing_support::StandInDirectory() + "\\mstsc.exe\" session.rdp",
                   [told] { *told = true; });
  ::SetEnvironmentVariableA("LUMORA_STANDIN_TELLS", nullptr);
  ::SetEnvironmentVariableA("LUMORA_STANDIN_LOG", nullptr);
  ASSERT_EQ(started, StartedProgram::kStarted);  // idle first, with no box yet
  HWND box = nullptr;
  for (int round = 0; round < 3000 && (!*told || box == nullptr); ++round) {
    ::Sleep(10);
    box = ::FindWindowW(L"#32770", L"远程桌面连接");
  }
  EXPECT_TRUE(*told);
  ASSERT_NE(box, nullptr);
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  for (int round = 0; round < 3000 && ::IsWindow(box); ++round) {
    ::Sleep(10);
  }
}

}  // namespace
}  // namespace lumora::platform
