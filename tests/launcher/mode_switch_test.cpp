#include "launcher/mode_switch.h"

#include <gtest/gtest.h>

namespace lumora::launcher {
namespace {

TEST(SessionModeSwitchTest, EachKnownValueGivesItsSwitch) {
  EXPECT_EQ(NextModeSwitch("0", ""), " /admin ");
  EXPECT_EQ(NextModeSwitch("1", ""), " /console ");
  EXPECT_EQ(NextModeSwitch("2", ""), " ");
  EXPECT_EQ(NextModeSwitch("2", " /admin "), " ");
}

TEST(SessionModeSwitchTest, AnyOtherValueCarriesThePreviousSwitchOver) {
  EXPECT_EQ(NextModeSwitch("", " /console "), " /console ");
  EXPECT_EQ(NextModeSwitch("3", " /admin "), " /admin ");
  EXPECT_EQ(NextModeSwitch(" 0", " "), " ");
  EXPECT_EQ(NextModeSwitch("00", ""), "");
  EXPECT_EQ(NextModeSwitch("", ""), "");
}

}  // namespace
}  // namespace lumora::launcher
