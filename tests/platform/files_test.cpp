#include "platform/files.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/profile.h"
#include "support/temp_directory.h"

namespace lumora::platform {
namespace {

TEST(FilesTest, FileExistsFindsAFile) {
  testing_support::TempDirectory directory;
  std::ofstream(directory.NativePath("present.txt")) << "x";
  EXPECT_TRUE(FileExists(directory.Path() + "\\present.txt"));
}

TEST(FilesTest, FileExistsFindsADirectory) {
  testing_support::TempDirectory directory;
  EXPECT_TRUE(FileExists(directory.Path()));
}

TEST(FilesTest, FileExistsIsFalseForAMissingName) {
  testing_support::TempDirectory directory;
  EXPECT_FALSE(FileExists(directory.Path() + "\\absent.txt"));
  EXPECT_FALSE(FileExists(directory.Path() + "\\absent\\inner.txt"));
  EXPECT_FALSE(FileExists(""));
}

TEST(FilesTest, FileExistsFindsAChineseName) {
  testing_support::TempDirectory directory;
  // "淺" ends in the byte of '\'. The profile writer creates the file under its GBK name.
  const Text path = directory.Path() + "\\服务器淺.ini";
  ASSERT_TRUE(WriteProfileText(path, "S", "k", "v"));
  EXPECT_TRUE(FileExists(path));
  EXPECT_FALSE(FileExists(directory.Path() + "\\服务器.ini"));
}

TEST(FilesTest, ExecutableDirectoryIsAnExistingDirectoryWithoutTrailingSeparator) {
  const Text directory = ExecutableDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_NE(directory.back(), '\\');
  EXPECT_NE(directory.back(), '/');
  EXPECT_TRUE(FileExists(directory));
}

}  // namespace
}  // namespace lumora::platform
