#include "status/reachability_pass.h"
#include "support/unresolvable_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "forms/headless/headless_window_system.h"
#include "forms/main_window.h"
#include "forms/window_model.h"

namespace lumora::status {
namespace {

using forms::Control;
using forms::MainWindow;

constexpr char kList[] = "超级列表框1";
constexpr int kNewRowImage = 3;

// Answers from a table; while blocked, every probe waits inside Echo until released.
class FakeEchoProbe : public platform::EchoProbe {
 public:
  void Answer(const Text& host, unsigned roundTripMs) {
    std::lock_guard lock(mutex_);
    answers_[host] = roundTripMs;
  }
  void Block() {
    std::lock_guard lock(mutex_);
    blocked_ = true;
  }
  void Release() {
    std::lock_guard lock(mutex_);
    blocked_ = false;
    released_ = true;
    changed_.notify_all();
  }

  // `host`'s probes wait until Release, whatever Block says; or throw.
  void Hang(const Text& host) {
    std::lock_guard lock(mutex_);
    hanging_ = host;
  }
  void Throw(const Text& host) {
    std::lock_guard lock(mutex_);
    throwing_ = host;
  }

  std::optional<unsigned> Echo(const Text& host, unsigned timeoutMs) override {
    std::unique_lock lock(mutex_);
    ++calls_[host];
    threads_.insert(std::this_thread::get_id());
    timeouts_.push_back(timeoutMs);
    if (host == throwing_) {
      throw std::runtime_error("the probe broke");
    }
    ++inFlight_;
    maxInFlight_ = std::max(maxInFlight_, inFlight_);
    changed_.notify_all();
    changed_.wait(lock, [&] { return host == hanging_ ? released_ : !blocked_; });
    --inFlight_;
    const auto answer = answers_.find(host);
    return answer == answers_.end() ? std::nullopt : std::optional<unsigned>(answer->second);
  }

  // Waits (bounded) until `count` probes are inside Echo at once.
  bool WaitForInFlight(int count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(60), [&] { return inFlight_ >= count; });
  }

  int Calls(const Text& host) {
    std::lock_guard lock(mutex_);
    const auto found = calls_.find(host);
    return found == calls_.end() ? 0 : found->second;
  }
  int TotalCalls() {
    std::lock_guard lock(mutex_);
    int total = 0;
    for (const auto& [host, calls] : calls_) {
      total += calls;
    }
    return total;
  }
  int MaxInFlight() {
    std::lock_guard lock(mutex_);
    return maxInFlight_;
  }
  std::vector<unsigned> Timeouts() {
    std::lock_guard lock(mutex_);
    return timeouts_;
  }
  std::size_t Threads() {
    std::lock_guard lock(mutex_);
    return threads_.size();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::map<Text, unsigned> answers_;
  std::map<Text, int> calls_;
  std::vector<unsigned> timeouts_;
  std::set<std::thread::id> threads_;
  Text hanging_;
  Text throwing_;
  bool blocked_ = false;
  bool released_ = false;
  int inFlight_ = 0;
  int maxInFlight_ = 0;
};

class ReachabilityPassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::InstallWindowSystem(system_);
    forms::RegisterWindow(MainWindow(), {});
    ASSERT_TRUE(forms::LoadWindow(MainWindow()));
    SetEchoProbeForTesting(&probe_);
  }

  void TearDown() override {
    probe_.Release();
    EXPECT_TRUE(WaitForPasses());
    SetEchoProbeForTesting(nullptr);
  }

  Control List() { return Control(MainWindow(), kList); }

  void AddRows(const std::vector<Text>& addresses) {
    Control list = List();
    for (const Text& address : addresses) {
      const int row = list.AppendRow(address);
      list.SetRowImage(row, kNewRowImage);
    }
  }

  // Polls, pumping the UI thread's work, until `done` holds; false after a generous bound.
  bool PumpUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (;;) {
      system_.Pump();
      if (done()) {
        return true;
      }
      if (std::chrono::steady_clock::now() > deadline) {
        return false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

  // Every dispatcher and worker has finished; their row writes have been carried out.
  bool WaitForPasses() {
    const bool finished =
        PumpUntil([] { return ReachabilityPassesRunning() == 0 && RunningWorkerCount() == 0; });
    system_.Pump();
    return finished;
  }

  void ExpectOnline(int row, const Text& delay) {
    EXPECT_EQ(List().CellText(row, 3), "在线") << "row " << row;
    EXPECT_EQ(List().CellText(row, 4), delay) << "row " << row;
    EXPECT_EQ(List().RowImage(row), 1) << "row " << row;
  }
  void ExpectOffline(int row) {
    EXPECT_EQ(List().CellText(row, 3), "离线") << "row " << row;
    EXPECT_EQ(List().CellText(row, 4), "超时") << "row " << row;
    EXPECT_EQ(List().RowImage(row), 0) << "row " << row;
  }
  void ExpectUntouched(int row) {
    EXPECT_EQ(List().CellText(row, 3), "") << "row " << row;
    EXPECT_EQ(List().CellText(row, 4), "") << "row " << row;
    EXPECT_EQ(List().RowImage(row), kNewRowImage) << "row " << row;
  }

  forms::HeadlessWindowSystem system_;
  FakeEchoProbe probe_;
};

TEST_F(ReachabilityPassTest, HostThatAnswersShowsOnlineWithItsDelay) {
  probe_.Answer("127.0.0.1", 0);
  probe_.Answer("localhost", 17);
  AddRows({"127.0.0.1", "localhost"});

  StartReachabilityPass();
  ASSERT_TRUE(WaitForPasses());

  ExpectOnline(0, "0ms");
  ExpectOnline(1, "17ms");
  EXPECT_EQ(probe_.Timeouts(), (std::vector<unsigned>{2000, 2000}));
}

TEST_F(ReachabilityPassTest, NameThatDoesNotResolveShowsOffline) {
  probe_.Answer("127.0.0.1", 3);
  AddRows({testing_support::kUnresolvableHost, "127.0.0.1"});
  List().SetCellText(0, 3, "在线");

  StartReachabilityPass();
  ASSERT_TRUE(WaitForPasses());

  ExpectOffline(0);
  ExpectOnline(1, "3ms");
  EXPECT_EQ(probe_.Calls(testing_support::kUnresolvableHost), 1);
}

TEST_F(ReachabilityPassTest, RowShowsCheckingWhileItsProbeRuns) {
  probe_.Block();
  probe_.Answer("127.0.0.1", 1);
  AddRows({"127.0.0.1"});

  StartReachabilityPass();
  ASSERT_TRUE(probe_.WaitForInFlight(1));
  system_.Pump();
  EXPECT_EQ(List().CellText(0, 4), "检测");
  EXPECT_EQ(List().CellText(0, 3), "");
  EXPECT_EQ(List().RowImage(0), kNewRowImage);
  EXPECT_EQ(RunningWorkerCount(), 1);

  probe_.Release();
  ASSERT_TRUE(WaitForPasses());
  ExpectOnline(0, "1ms");
}

TEST_F(ReachabilityPassTest, EmptyListStartsNoWorker) {
  StartReachabilityPass();
  ASSERT_TRUE(WaitForPasses());
  EXPECT_EQ(probe_.TotalCalls(), 0);
  EXPECT_EQ(List().RowCount(), 0);
  EXPECT_EQ(system_.LastRowMadeVisible(MainWindow(), kList), -1);
}

// The list stays where the user has it: results do not scroll it.
TEST_F(ReachabilityPassTest, ResultsNeverScrollTheList) {
  AddRows({"127.0.0.1", "127.0.0.2", "127.0.0.3"});
  List().ScrollToTopRow(1);
  StartReachabilityPass();
  ASSERT_TRUE(WaitForPasses());
  ExpectOffline(2);
  EXPECT_EQ(system_.LastRowMadeVisible(MainWindow(), kList), -1);
  EXPECT_EQ(List().TopRow(), 1);
}

TEST_F(ReachabilityPassTest, HundredRowsRunAtMostThirtyWorkersAtOnce) {
  probe_.Block();
  std::vector<Text> addresses;
  for (int i = 0; i < 100; ++i) {
    addresses.push_back("127.0.1." + std::to_string(i + 1));
    if (i % 2 == 0) {
      probe_.Answer(addresses.back(), static_cast<unsigned>(i));
    }
  }
  AddRows(addresses);

  StartReachabilityPass();
  ASSERT_TRUE(probe_.WaitForInFlight(kMaxRunningWorkers));
  // No probe can finish, so the dispatcher is held at the cap.
  EXPECT_EQ(RunningWorkerCount(), kMaxRunningWorkers);
  system_.Pump();
  int checking = 0;
  for (int row = 0; row < 100; ++row) {
    checking += List().CellText(row, 4) == "检测" ? 1 : 0;
  }
  EXPECT_EQ(checking, kMaxRunningWorkers);

  probe_.Release();
  ASSERT_TRUE(WaitForPasses());
  EXPECT_EQ(probe_.MaxInFlight(), kMaxRunningWorkers);
  for (int row = 0; row < 100; ++row) {
    EXPECT_EQ(probe_.Calls(addresses[static_cast<std::size_t>(row)]), 1);
    if (row % 2 == 0) {
      ExpectOnline(row, std::to_string(row) + "ms");
    } else {
      ExpectOffline(row);
    }
  }
  EXPECT_EQ(system_.LastRowMadeVisible(MainWindow(), kList), -1);
}

TEST_F(ReachabilityPassTest, TwoPassesAtOnceProbeEveryRowTwice) {
  probe_.Block();
  const std::vector<Text> addresses = {"127.0.0.1", "127.0.0.2", "127.0.0.3", "127.0.0.4"};
  probe_.Answer("127.0.0.2", 5);
  AddRows(addresses);

  StartReachabilityPass();
  StartReachabilityPass();
  ASSERT_TRUE(probe_.WaitForInFlight(8));
  EXPECT_EQ(ReachabilityPassesRunning(), 2);
  probe_.Release();
  ASSERT_TRUE(WaitForPasses());

  for (const Text& address : addresses) {
    EXPECT_EQ(probe_.Calls(address), 2) << address;
  }
  ExpectOffline(0);
  ExpectOnline(1, "5ms");
  ExpectOffline(2);
  ExpectOffline(3);
}

TEST_F(ReachabilityPassTest, RefillDuringPassDropsTheOldResults) {
  probe_.Block();
  probe_.Answer("127.0.0.1", 1);
  probe_.Answer("127.0.0.2", 2);
  probe_.Answer("127.0.0.3", 3);
  AddRows({"127.0.0.1", "127.0.0.2", "127.0.0.3"});
  StartReachabilityPass();
  ASSERT_TRUE(probe_.WaitForInFlight(3));

  // The list is rebuilt with fewer rows while every probe of the pass is still out; the pass's
  // "检测" writes are queued but not yet carried out.
  List().DeleteAllRows();
  InvalidateReachabilityPasses();
  AddRows({"127.0.0.9", testing_support::kUnresolvableHost});
  probe_.Release();
  ASSERT_TRUE(WaitForPasses());

  ASSERT_EQ(List().RowCount(), 2);
  ExpectUntouched(0);
  ExpectUntouched(1);
  EXPECT_EQ(system_.LastRowMadeVisible(MainWindow(), kList), -1);

  // A pass over the new rows writes them.
  probe_.Answer("127.0.0.9", 9);
  StartReachabilityPass();
  ASSERT_TRUE(WaitForPasses());
  ExpectOnline(0, "9ms");
  ExpectOffline(1);
}

TEST_F(ReachabilityPassTest, ARefillStopsTheOlderPassFromStartingFurtherProbes) {
  probe_.Block();
  std::vector<Text> addresses;
  for (int row = 1; row <= 100; ++row) {
    addresses.push_back("127.0.2." + std::to_string(row));
  }
  AddRows(addresses);
  StartReachabilityPass();
  ASSERT_TRUE(probe_.WaitForInFlight(kMaxRunningWorkers));
  List().DeleteAllRows();
  InvalidateReachabilityPasses();
  probe_.Release();
  ASSERT_TRUE(WaitForPasses());
  // The probes already out end; at most the one the dispatcher was starting comes after them.
  EXPECT_LE(probe_.TotalCalls(), kMaxRunningWorkers + 1);
}

TEST_F(ReachabilityPassTest, ResultsAfterTheMainWindowClosedAreDropped) {
  probe_.Block();
  AddRows({"127.0.0.1", "127.0.0.2"});
  StartReachabilityPass();
  ASSERT_TRUE(probe_.WaitForInFlight(2));

  forms::CloseWindow(MainWindow());
  system_.Pump();
  ASSERT_FALSE(forms::IsLoaded(MainWindow()));
  probe_.Release();
  ASSERT_TRUE(WaitForPasses());

  EXPECT_TRUE(system_.MessageBoxes().empty());
  EXPECT_FALSE(system_.EndedWith().has_value());
}

TEST_F(ReachabilityPassTest, NothingStartsWithoutTheMainWindow) {
  forms::CloseWindow(MainWindow());
  system_.Pump();
  StartReachabilityPass();
  EXPECT_EQ(ReachabilityPassesRunning(), 0);
  EXPECT_TRUE(system_.MessageBoxes().empty());
}

// Probes run on at most kMaxRunningWorkers threads, kept from pass to pass.
TEST_F(ReachabilityPassTest, PassesShareTheirWorkerThreads) {
  std::vector<Text> addresses;
  for (int row = 1; row <= 100; ++row) {
    addresses.push_back("127.0.3." + std::to_string(row));
  }
  AddRows(addresses);
  for (int pass = 0; pass < 3; ++pass) {
    StartReachabilityPass();
    ASSERT_TRUE(WaitForPasses());
  }
  EXPECT_EQ(probe_.TotalCalls(), 300);
  EXPECT_LE(probe_.Threads(), static_cast<std::size_t>(kMaxRunningWorkers));
}

// A probe that never comes back (a name that never resolves) keeps its row and its place under
// the cap, but no later pass waits for it.
TEST_F(ReachabilityPassTest, AProbeThatNeverReturnsHoldsUpNoLaterPass) {
  probe_.Hang("never.example");
  probe_.Answer("127.0.0.2", 2);
  AddRows({"never.example", "127.0.0.2"});
  StartReachabilityPass();
  ASSERT_TRUE(probe_.WaitForInFlight(1));
  List().DeleteAllRows();
  InvalidateReachabilityPasses();
  AddRows({"127.0.0.2"});
  StartReachabilityPass();
  bool laterPassEnded = false;
  for (int round = 0; round < 60000 && !laterPassEnded; ++round) {
    system_.Pump();
    laterPassEnded = ReachabilityPassesRunning() == 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_TRUE(laterPassEnded);
  EXPECT_EQ(RunningWorkerCount(), 1);
  ExpectOnline(0, "2ms");
}

// A worker's fault ends in the program's fatal-error box, not in std::terminate.
TEST_F(ReachabilityPassTest, AFaultInAProbeIsAFatalError) {
  probe_.Throw("127.0.0.1");
  AddRows({"127.0.0.1"});
  StartReachabilityPass();
  ASSERT_TRUE(WaitForPasses());
  system_.Pump();
  ASSERT_FALSE(system_.MessageBoxes().empty());
  EXPECT_NE(system_.MessageBoxes()[0].text.find("the probe broke"), std::string::npos);
  EXPECT_EQ(RunningWorkerCount(), 0);
}

}  // namespace
}  // namespace lumora::status
