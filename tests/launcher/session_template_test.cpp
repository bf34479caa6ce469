#include "launcher/session_template.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "session_lines.h"

namespace lumora::launcher {
namespace {

TEST(SessionTemplateTest, Has1251BytesIn47LinesJoinedByCrLf) {
  const std::string_view text = SessionTemplate();
  EXPECT_EQ(text.size(), 1251u);
  EXPECT_EQ(text.size(), kSessionTemplateBytes);
  EXPECT_EQ(testing::SplitCrLf(text).size(), kSessionTemplateLines);
  EXPECT_NE(text.substr(text.size() - 2), "\r\n");
  EXPECT_EQ(text.find('\0'), std::string_view::npos);
  // No bare CR or LF anywhere.
  std::size_t breaks = 0;
  for (const char c : text) {
    breaks += (c == '\r' || c == '\n') ? 1 : 0;
  }
  EXPECT_EQ(breaks, 2 * (kSessionTemplateLines - 1));
}

TEST(SessionTemplateTest, FirstLastAndPasswordLines) {
  const auto lines = testing::SplitCrLf(SessionTemplate());
  ASSERT_EQ(lines.size(), 47u);
  EXPECT_EQ(lines[0], "screen mode id:i:%窗口模式%");
  EXPECT_EQ(lines[4], "winposstr:s:2,3,0,0,900,700");
  EXPECT_EQ(lines[9], "redirectdrives:i:0");
  EXPECT_EQ(lines[19], "password 51:b:%密码%");
  EXPECT_EQ(lines[35], "drivestoredirect:s:%映射磁盘%");
  EXPECT_EQ(lines[46], "use redirection server name:i:0");
}

TEST(SessionTemplateTest, HoldsTwentyTwoDifferentPlaceholdersEachOnce) {
  const auto lines = testing::SplitCrLf(SessionTemplate());
  std::multiset<std::string> placeholders;
  for (const std::string& line : lines) {
    const std::size_t open = line.find('%');
    if (open == std::string::npos) {
      continue;
    }
    const std::size_t close = line.find('%', open + 1);
    ASSERT_NE(close, std::string::npos) << line;
    EXPECT_EQ(close, line.size() - 1) << line;
    placeholders.insert(line.substr(open, close - open + 1));
  }
  EXPECT_EQ(placeholders.size(), 22u);
  EXPECT_EQ(std::set<std::string>(placeholders.begin(), placeholders.end()).size(), 22u);
}

}  // namespace
}  // namespace lumora::launcher
