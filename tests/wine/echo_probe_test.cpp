// The Windows probes: the one the program uses, icmp.dll's and the raw socket's, each on its own.
#include "platform/echo_probe.h"
#include "platform/win32/echo_probes.h"
#include "support/unresolvable_host.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace lumora::platform {
namespace {

struct NamedProbe {
  const char* name;
  EchoProbe* (*probe)();
};

class Win32EchoProbeTest : public testing::TestWithParam<NamedProbe> {
 protected:
  void SetUp() override {
    probe_ = GetParam().probe();
    if (probe_ == nullptr) {
      GTEST_SKIP() << "no raw ICMP socket may be opened here";
    }
  }
  EchoProbe& Probe() { return *probe_; }

 private:
  EchoProbe* probe_ = nullptr;
};

TEST_P(Win32EchoProbeTest, LoopbackAnswers) {
  ASSERT_TRUE(Probe().Available());
  const std::optional<unsigned> roundTrip = Probe().Echo("127.0.0.1", kProbeTimeoutMs);
  ASSERT_TRUE(roundTrip.has_value());
  EXPECT_LT(*roundTrip, kProbeTimeoutMs);
}

TEST_P(Win32EchoProbeTest, LocalhostResolvesAndAnswers) {
  EXPECT_TRUE(Probe().Echo("localhost", kProbeTimeoutMs).has_value());
}

TEST_P(Win32EchoProbeTest, NameThatDoesNotResolveGivesNothingAndLaterProbesStillWork) {
  EXPECT_FALSE(Probe().Echo(testing_support::kUnresolvableHost, kProbeTimeoutMs).has_value());
  EXPECT_TRUE(Probe().Echo("127.0.0.1", kProbeTimeoutMs).has_value());
}

// A pass's 30 echoes at once, each to its own address, many rounds: every one gets its answer,
// none is woken by another's.
TEST_P(Win32EchoProbeTest, ThirtyEchoesAtOnceEachGetTheirOwnAnswer) {
  constexpr int kThreads = 30;
  constexpr int kRounds = 20;
  std::atomic<int> answered{0};
  std::vector<std::thread> threads;
  for (int thread = 0; thread < kThreads; ++thread) {
    threads.emplace_back([&, thread] {
      for (int round = 0; round < kRounds; ++round) {
        const Text host = "127.0." + std::to_string(round) + "." + std::to_string(thread + 1);
        if (Probe().Echo(host, kProbeTimeoutMs)) {
          answered.fetch_add(1);
        }
      }
    });
  }
  for (std::thread& thread : threads) {
    thread.join();
  }
  EXPECT_EQ(answered.load(), kThreads * kRounds);
}

INSTANTIATE_TEST_SUITE_P(
    Probes, Win32EchoProbeTest,
    testing::Values(NamedProbe{"program", [] { return &SystemEchoProbe(); }},
                    NamedProbe{"icmp_dll", [] { return &win32::IcmpDllEchoProbe(); }},
                    NamedProbe{"raw_socket", [] { return win32::RawSocketEchoProbe(); }}),
    [](const testing::TestParamInfo<NamedProbe>& probe) { return std::string(probe.param.name); });

}  // namespace
}  // namespace lumora::platform
