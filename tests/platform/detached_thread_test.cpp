// Every thread that nobody joins runs its body, also when it is started from another such
// thread, as the reachability pass starts its workers: a body that never ran would leave the
// pass waiting for it for ever.
#include "platform/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace lumora::platform {
namespace {

struct Counts {
  std::atomic<int> bodiesToRun{0};
  std::atomic<int> startersRunning{0};
};

TEST(DetachedThreadTest, EveryBodyRunsAlsoWhenStartedFromADetachedThread) {
  constexpr int kRounds = 200;
  constexpr int kStarters = 2;
  constexpr int kBodiesPerStarter = 8;
  const auto counts = std::make_shared<Counts>();
  for (int round = 0; round < kRounds; ++round) {
    counts->startersRunning = kStarters;
    counts->bodiesToRun = kStarters * kBodiesPerStarter;
    for (int starter = 0; starter < kStarters; ++starter) {
      ASSERT_TRUE(StartDetachedThread([counts] {
        for (int body = 0; body < kBodiesPerStarter; ++body) {
          if (!StartDetachedThread([counts] { counts->bodiesToRun.fetch_sub(1); })) {
            counts->bodiesToRun.fetch_sub(1);
            ADD_FAILURE() << "a thread could not be started";
          }
        }
        counts->startersRunning.fetch_sub(1);
      }));
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while ((counts->bodiesToRun != 0 || counts->startersRunning != 0) &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(counts->startersRunning.load(), 0) << "round " << round;
    ASSERT_EQ(counts->bodiesToRun.load(), 0) << "bodies that never ran, round " << round;
  }
}

}  // namespace
}  // namespace lumora::platform
