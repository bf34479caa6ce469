// The Windows probe against the system's own icmp.dll.
#include "platform/echo_probe.h"
#include "support/unresolvable_host.h"

#include <gtest/gtest.h>

namespace lumora::platform {
namespace {

TEST(Win32EchoProbeTest, LoopbackAnswers) {
  const std::optional<unsigned> roundTrip = SystemEchoProbe().Echo("127.0.0.1", kProbeTimeoutMs);
  ASSERT_TRUE(roundTrip.has_value());
  EXPECT_LT(*roundTrip, kProbeTimeoutMs);
}

TEST(Win32EchoProbeTest, LocalhostResolvesAndAnswers) {
  EXPECT_TRUE(SystemEchoProbe().Echo("localhost", kProbeTimeoutMs).has_value());
}

TEST(Win32EchoProbeTest, NameThatDoesNotResolveGivesNothing) {
  EXPECT_FALSE(
      SystemEchoProbe().Echo(testing_support::kUnresolvableHost, kProbeTimeoutMs).has_value());
}

TEST(Win32EchoProbeTest, SetUpHoldsForLaterProbes) {
  ASSERT_TRUE(SystemEchoProbe().Echo("127.0.0.1", kProbeTimeoutMs).has_value());
  EXPECT_FALSE(
      SystemEchoProbe().Echo(testing_support::kUnresolvableHost, kProbeTimeoutMs).has_value());
  EXPECT_TRUE(SystemEchoProbe().Echo("127.0.0.1", kProbeTimeoutMs).has_value());
}

}  // namespace
}  // namespace lumora::platform
