#include "launcher/history.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "platform/program_directory.h"
#include "support/temp_directory.h"

namespace lumora::launcher {
namespace {

class ClearHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override { SetProgramDirectory(directory_.Path()); }

  void MakeFile(const std::string& relative) {
    const std::filesystem::path path = directory_.NativePath(relative);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << "x";
  }

  testing_support::TempDirectory directory_;
};

TEST_F(ClearHistoryTest, DeletesOnlyRdpFilesOfTheHistoryFolderItself) {
  MakeFile("History/a.rdp");
  MakeFile("History/b.example.rdp");
  MakeFile("History/UPPER.RDP");
  MakeFile("History/keep.txt");
  MakeFile("History/keep.rdp.bak");
  MakeFile("History/keep.rdpbak");  // matched by "*.rdp" through its short name on NTFS
  MakeFile("History/below/inner.rdp");
  MakeFile("outside.rdp");
  std::filesystem::create_directories(directory_.NativePath("History/folder.rdp"));

  const ClearHistoryResult result = ClearHistory();
  EXPECT_EQ(result.deleted, 3);
  EXPECT_EQ(result.failed, 0);
  EXPECT_FALSE(directory_.Contains("History/a.rdp"));
  EXPECT_FALSE(directory_.Contains("History/b.example.rdp"));
  EXPECT_FALSE(directory_.Contains("History/UPPER.RDP"));
  EXPECT_TRUE(directory_.Contains("History/keep.txt"));
  EXPECT_TRUE(directory_.Contains("History/keep.rdp.bak"));
  EXPECT_TRUE(directory_.Contains("History/keep.rdpbak"));
  EXPECT_TRUE(directory_.Contains("History/below/inner.rdp"));
  EXPECT_TRUE(directory_.Contains("History/folder.rdp"));
  EXPECT_TRUE(directory_.Contains("outside.rdp"));
  EXPECT_EQ(ClearHistoryMessage(result), "历史连接记录已全部被清空!");
}

TEST_F(ClearHistoryTest, ChineseNamesAreDeletedToo) {
  // The second byte of "淺" is the byte of "\".
  const Text folder = directory_.Path() + "\\History";
  ASSERT_TRUE(platform::CreateFolder(folder));
  ASSERT_TRUE(platform::WriteFileContent(folder + "\\淺水湾.rdp", "x"));
  ASSERT_EQ(platform::FindFiles(folder + "\\*.rdp"), std::vector<Text>{"淺水湾.rdp"});
  const ClearHistoryResult result = ClearHistory();
  EXPECT_EQ(result.deleted, 1);
  EXPECT_EQ(result.failed, 0);
  EXPECT_FALSE(platform::FileExists(folder + "\\淺水湾.rdp"));
}

TEST_F(ClearHistoryTest, NothingToDeleteIsStillAllCleared) {
  const ClearHistoryResult result = ClearHistory();
  EXPECT_EQ(result.deleted, 0);
  EXPECT_EQ(result.failed, 0);
  EXPECT_EQ(ClearHistoryMessage(result), "历史连接记录已全部被清空!");
}

TEST(ClearHistoryMessageTest, FailuresAreCounted) {
  EXPECT_EQ(ClearHistoryMessage({0, 0}), "历史连接记录已全部被清空!");
  EXPECT_EQ(ClearHistoryMessage({5, 0}), "历史连接记录已全部被清空!");
  EXPECT_EQ(ClearHistoryMessage({2, 3}), "有3个连接记录无法删除!");
  EXPECT_EQ(ClearHistoryMessage({0, 1}), "有1个连接记录无法删除!");
  EXPECT_STREQ(kClearHistoryTitle, "提示信息!");
}

}  // namespace
}  // namespace lumora::launcher
