// Clearing the History folder while another program holds one of its files.
#include "launcher/history.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "platform/files.h"
#include "platform/program_directory.h"
#include "support/temp_directory.h"

namespace lumora::launcher {
namespace {

class Win32ClearHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramDirectory(program_.Path());
    ASSERT_TRUE(platform::CreateFolder(History()));
  }

  Text History() const { return program_.Path() + "\\History"; }

  testing_support::TempDirectory program_;
};

TEST_F(Win32ClearHistoryTest, DeletesEverySessionFile) {
  for (const char* name : {"a.rdp", "b.rdp", "机房.rdp", "note.txt"}) {
    ASSERT_TRUE(platform::WriteFileContent(History() + "\\" + name, "x"));
  }
  const ClearHistoryResult result = ClearHistory();
  EXPECT_EQ(result.deleted, 3);
  EXPECT_EQ(result.failed, 0);
  EXPECT_EQ(platform::FindFiles(History() + "\\*"), std::vector<Text>{"note.txt"});
  EXPECT_EQ(ClearHistoryMessage(result), "历史连接记录已全部被清空!");
}

TEST_F(Win32ClearHistoryTest, FileHeldOpenWithoutShareDeleteIsCounted) {
  for (const char* name : {"a.rdp", "held.rdp", "c.rdp"}) {
    ASSERT_TRUE(platform::WriteFileContent(History() + "\\" + name, "x"));
  }
  const HANDLE held =
      ::CreateFileA((History() + "\\held.rdp").c_str(), GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const ClearHistoryResult result = ClearHistory();
  ::CloseHandle(held);
  EXPECT_EQ(result.deleted, 2);
  EXPECT_EQ(result.failed, 1);
  EXPECT_EQ(platform::FindFiles(History() + "\\*.rdp"), std::vector<Text>{"held.rdp"});
  EXPECT_EQ(ClearHistoryMessage(result), "有1个连接记录无法删除!");
}

}  // namespace
}  // namespace lumora::launcher
