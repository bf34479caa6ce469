#include "support/reachability_wait.h"

#include <thread>  // with the clocks: <chrono> itself does not compile to GBK

#include "status/reachability_pass.h"

namespace lumora::testing_support {

void WaitForReachabilityPasses(forms::HeadlessWindowSystem& system) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
  while (status::ReachabilityPassesRunning() > 0 && std::chrono::steady_clock::now() < deadline) {
    system.Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  system.Pump();
}

}  // namespace lumora::testing_support
