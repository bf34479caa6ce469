#include "launcher/host_file_name.h"

#include <gtest/gtest.h>

#include <string>

namespace lumora::launcher {
namespace {

TEST(SessionHostNameTest, OrdinaryHostNamesArePlainFileNames) {
  EXPECT_TRUE(IsPlainFileName("192.168.1.20"));
  EXPECT_TRUE(IsPlainFileName("server-01.example.com"));
  EXPECT_TRUE(IsPlainFileName("机房一号"));
  EXPECT_TRUE(IsPlainFileName("my server"));
  EXPECT_TRUE(IsPlainFileName("a.b"));
}

TEST(SessionHostNameTest, SecondByteThatLooksLikeASeparatorIsNoSeparator) {
  // The second byte of "淺" (9C 5C) is the byte of "\".
  EXPECT_TRUE(IsPlainFileName("淺"));
  EXPECT_TRUE(IsPlainFileName("淺水湾"));
}

TEST(SessionHostNameTest, EmptyNameIsRefused) {
  EXPECT_FALSE(IsPlainFileName(""));
}

TEST(SessionHostNameTest, PathSeparatorsAreRefused) {
  EXPECT_FALSE(IsPlainFileName("a\\b"));
  EXPECT_FALSE(IsPlainFileName("a/b"));
  EXPECT_FALSE(IsPlainFileName("\\\\server\\share\\x"));
  EXPECT_FALSE(IsPlainFileName("C:\\Windows\\x"));
}

TEST(SessionHostNameTest, TwoDotsAreRefused) {
  EXPECT_FALSE(IsPlainFileName(".."));
  EXPECT_FALSE(IsPlainFileName("..\\..\\evil"));
  EXPECT_FALSE(IsPlainFileName("../evil"));
  EXPECT_FALSE(IsPlainFileName("a..b"));
  EXPECT_TRUE(IsPlainFileName(".hidden"));
}

TEST(SessionHostNameTest, CharactersTheSystemForbidsAreRefused) {
  for (const char c : std::string("<>:\"|?*")) {
    EXPECT_FALSE(IsPlainFileName(std::string("a") + c + "b")) << c;
  }
}

TEST(SessionHostNameTest, ControlCharactersAreRefused) {
  for (int c = 1; c < 0x20; ++c) {
    EXPECT_FALSE(IsPlainFileName(std::string("a") + static_cast<char>(c) + "b")) << c;
  }
  EXPECT_FALSE(IsPlainFileName(std::string("a\0b", 3)));
  EXPECT_FALSE(IsPlainFileName("host\r\n"));
}

TEST(SessionHostNameTest, DeviceNamesAreRefusedWithOrWithoutExtension) {
  for (const char* name : {"CON", "PRN", "AUX", "NUL", "COM1", "COM9", "LPT1", "LPT9", "con", "Nul",
                           "lpt3", "CON.example", "aux.txt", "NUL .x", "CONIN$"}) {
    EXPECT_FALSE(IsPlainFileName(name)) << name;
  }
}

// A host the system would take for a device still gets a session file, under a safe name.
TEST(SessionHostNameTest, DeviceNamedHostsGetAFileNameOfTheirOwn) {
  const struct {
    const char* host;
    const char* stem;
  } cases[] = {{"con.example.com", "_con.example.com"},
               {"AUX.corp.lan", "_AUX.corp.lan"},
               {"COM1", "_COM1"},
               {"console.lan", "console.lan"},
               {"127.0.0.1", "127.0.0.1"}};
  for (const auto& c : cases) {
    EXPECT_EQ(HistoryFileStem(c.host), c.stem);
    EXPECT_TRUE(IsPlainFileName(HistoryFileStem(c.host))) << c.host;
  }
}

TEST(SessionHostNameTest, NamesThatOnlyStartLikeADeviceAreFine) {
  for (const char* name : {"CONSOLE", "COM10", "LPT0", "COM", "PRNT.example", "xCON", "nul1"}) {
    EXPECT_TRUE(IsPlainFileName(name)) << name;
  }
}

TEST(SessionHostNameTest, TrailingDotOrBlankIsRefused) {
  EXPECT_FALSE(IsPlainFileName("host."));
  EXPECT_FALSE(IsPlainFileName("host "));
  EXPECT_FALSE(IsPlainFileName("."));
  EXPECT_FALSE(IsPlainFileName(" "));
}

TEST(SessionHostNameTest, LeadByteWithoutItsSecondByteIsRefused) {
  const std::string cut = std::string("机房").substr(0, 3);
  EXPECT_FALSE(IsPlainFileName(cut));
}

}  // namespace
}  // namespace lumora::launcher
