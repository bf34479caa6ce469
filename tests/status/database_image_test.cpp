#include "status/database_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "status/location_database_builder.h"
#include "support/temp_directory.h"

namespace lumora::status {
namespace {

class DatabaseImageTest : public ::testing::Test {
 protected:
  // Loads `bytes` keeping at most `memory_limit` of them in memory.
  bool Load(DatabaseImage& image, const std::string& bytes, std::size_t memory_limit) {
    testing::WriteFile(directory_.NativePath("image.dat"), bytes);
    platform::SharedReadFile file;
    return file.Open(directory_.Path() + "\\image.dat") &&
           image.Load(std::move(file), memory_limit);
  }

  lumora::testing_support::TempDirectory directory_;
};

TEST_F(DatabaseImageTest, ReadsPastTheEndGiveZeros) {
  DatabaseImage image;
  ASSERT_TRUE(Load(image, std::string("\x11\x22\x33", 3), DatabaseImage::kMemoryLimit));
  EXPECT_EQ(image.Size(), 3u);
  EXPECT_EQ(image.ByteAt(0), 0x11);
  EXPECT_EQ(image.ByteAt(3), -1);
  EXPECT_EQ(image.ByteAt(UINT64_MAX), -1);
  EXPECT_EQ(image.NumberAt(0, 4), 0x00332211u);
  EXPECT_EQ(image.NumberAt(1, 3), 0x003322u);
  EXPECT_EQ(image.NumberAt(2, 4), 0x33u);
  EXPECT_EQ(image.NumberAt(0xFFFFFFFFu, 4), 0u);
  Text text;
  EXPECT_EQ(image.AppendTextAt(1, text), 3u);
  EXPECT_EQ(text, "\x22\x33");
}

TEST_F(DatabaseImageTest, TextsEndAtTheirZero) {
  DatabaseImage image;
  ASSERT_TRUE(Load(image, std::string("ab\0cd\0", 6), DatabaseImage::kMemoryLimit));
  Text text = "x";
  EXPECT_EQ(image.AppendTextAt(0, text), 3u);
  EXPECT_EQ(text, "xab");
  text.clear();
  EXPECT_EQ(image.AppendTextAt(2, text), 3u);
  EXPECT_EQ(text, "");
  text.clear();
  EXPECT_EQ(image.AppendTextAt(3, text), 6u);
  EXPECT_EQ(text, "cd");
}

TEST_F(DatabaseImageTest, AFileLargerThanMemoryHoldsReadsTheSame) {
  std::mt19937 random(7);
  std::string bytes(5000, '\0');
  for (char& byte : bytes) {
    byte = static_cast<char>(random() % 8 == 0 ? 0 : random() % 256);
  }
  bytes.append(std::string(6000, 'z'));  // a text that crosses several read chunks
  DatabaseImage whole;
  ASSERT_TRUE(Load(whole, bytes, DatabaseImage::kMemoryLimit));
  for (const std::size_t limit :
       {std::size_t{0}, std::size_t{1}, std::size_t{2999}, std::size_t{4998}}) {
    DatabaseImage part;
    ASSERT_TRUE(Load(part, bytes, limit));
    ASSERT_EQ(part.Size(), whole.Size());
    for (std::uint64_t at = 0; at < bytes.size() + 5; at += 7) {
      ASSERT_EQ(part.ByteAt(at), whole.ByteAt(at)) << limit << " " << at;
      for (int width = 1; width <= 4; ++width) {
        ASSERT_EQ(part.NumberAt(at, width), whole.NumberAt(at, width)) << limit << " " << at;
      }
      Text a;
      Text b;
      ASSERT_EQ(part.AppendTextAt(at, a), whole.AppendTextAt(at, b)) << limit << " " << at;
      ASSERT_EQ(a, b) << limit << " " << at;
    }
  }
}

TEST_F(DatabaseImageTest, ClearForgetsTheFile) {
  DatabaseImage image;
  ASSERT_TRUE(Load(image, "abc", 1));
  image.Clear();
  EXPECT_EQ(image.Size(), 0u);
  EXPECT_EQ(image.ByteAt(0), -1);
  EXPECT_FALSE(image.Load(platform::SharedReadFile{}));
}

}  // namespace
}  // namespace lumora::status
