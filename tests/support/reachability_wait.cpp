#include "support/reachability_wait.h"

#include <gtest/gtest.h>

#include <thread>  // with the clocks: <chrono> itself does not compile to GBK

#include "status/reachability_pass.h"

namespace lumora::testing_support {

void WaitForReachabilityPasses(forms::HeadlessWindowSystem& system) {
  // Once a pass has been seen never to end, later tests fail at once instead of waiting too.
  static bool passNeverEnded = false;
  const auto deadline = std::chrono::steady_clock::now() +
                        (passNeverEnded ? std::chrono::minutes(0) : std::chrono::minutes(2));
  while (status::ReachabilityPassesRunning() > 0 && std::chrono::steady_clock::now() < deadline) {
    system.Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  passNeverEnded = status::ReachabilityPassesRunning() > 0;
  EXPECT_FALSE(passNeverEnded) << "a reachability pass never ended";
  system.Pump();
}

}  // namespace lumora::testing_support
