// The native probe; the Windows one is tested under Wine (tests/wine).
#ifndef _WIN32

#include "platform/echo_probe.h"
#include "support/unresolvable_host.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lumora::platform {
namespace {

bool CanOpenIcmpSocket() {
  for (const int type : {SOCK_DGRAM, SOCK_RAW}) {
    const int fd = ::socket(AF_INET, type, IPPROTO_ICMP);
    if (fd >= 0) {
      ::close(fd);
      return true;
    }
  }
  return false;
}

TEST(EchoProbeTest, LoopbackAnswers) {
  if (!CanOpenIcmpSocket()) {
    GTEST_SKIP() << "no ICMP socket may be opened here";
  }
  const std::optional<unsigned> roundTrip = SystemEchoProbe().Echo("127.0.0.1", kProbeTimeoutMs);
  ASSERT_TRUE(roundTrip.has_value());
  EXPECT_LT(*roundTrip, kProbeTimeoutMs);
}

TEST(EchoProbeTest, SeveralProbesAtOnceEachGetTheirAnswer) {
  if (!CanOpenIcmpSocket()) {
    GTEST_SKIP() << "no ICMP socket may be opened here";
  }
  EXPECT_TRUE(SystemEchoProbe().Echo("127.0.0.2", kProbeTimeoutMs).has_value());
  EXPECT_TRUE(SystemEchoProbe().Echo("127.0.0.3", kProbeTimeoutMs).has_value());
}

TEST(EchoProbeTest, NameThatDoesNotResolveGivesNothing) {
  EXPECT_FALSE(
      SystemEchoProbe().Echo(testing_support::kUnresolvableHost, kProbeTimeoutMs).has_value());
  EXPECT_FALSE(SystemEchoProbe().Echo("", kProbeTimeoutMs).has_value());
}

}  // namespace
}  // namespace lumora::platform

#endif
