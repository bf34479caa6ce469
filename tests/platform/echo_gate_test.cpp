// Before the process ends the echoes in flight are let come back and no new one is sent.
#include "platform/echo_gate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/echo_probe.h"

namespace lumora::platform {
namespace {

TEST(EchoGateTest, StoppingWaitsForTheEchoesInFlightAndRefusesNewOnes) {
  if (!SystemEchoProbe().Echo("127.0.0.1", kProbeTimeoutMs)) {
    GTEST_SKIP() << "no echo is answered here (no ICMP socket may be opened)";
  }
  // Echoes run again after this test whatever it finds: later tests of this process probe too.
  struct ResumeAtEnd {
    ~ResumeAtEnd() { ResumeEchoes(); }
  } resume;
  std::atomic<int> answered{0};
  std::vector<std::thread> probing;
  for (int i = 0; i < 8; ++i) {
    // Each thread probes until an echo is refused.
    probing.emplace_back([&answered] {
      while (SystemEchoProbe().Echo("127.0.0.1", kProbeTimeoutMs)) {
        answered.fetch_add(1);
      }
    });
  }
  for (int waited = 0; answered.load() < 32 && waited < 10000; ++waited) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  StopEchoes(kProbeTimeoutMs + 500);
  EXPECT_EQ(EchoesInFlight(), 0);
  EXPECT_FALSE(SystemEchoProbe().Echo("127.0.0.1", kProbeTimeoutMs));
  for (std::thread& thread : probing) {
    thread.join();
  }
  EXPECT_GE(answered.load(), 32);
  ResumeEchoes();
  EXPECT_TRUE(SystemEchoProbe().Echo("127.0.0.1", kProbeTimeoutMs));
}

}  // namespace
}  // namespace lumora::platform
