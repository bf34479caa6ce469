#include "status/reachability_pass.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "forms/main_window.h"
#include "forms/window_definition.h"
#include "forms/window_model.h"
#include "platform/handoff_lock.h"
#include "platform/thread.h"

namespace lumora::status {
namespace {

namespace cell = forms::server_cell;

constexpr const char* kBalloon = forms::kBalloonTipName;
constexpr int kOnlineImage = 1;
constexpr int kOfflineImage = 0;

// A pass stops waiting for its last probes when none of them has come back for this long: a
// probe can hang in name resolution far beyond its echo's time-out, and its row then keeps
// "检测" while the pass, and every one after it, goes on.
constexpr auto kLongestSilence = std::chrono::milliseconds(platform::kProbeTimeoutMs + 10000);

std::atomic<int> runningWorkers{0};
std::atomic<int> passesRunning{0};
// Changed and compared on the UI thread only; atomic so that a pass may copy it anywhere.
std::atomic<std::uint64_t> listGeneration{0};
std::atomic<platform::EchoProbe*> probeForTesting{nullptr};

// What a pass works from, taken on the UI thread when it starts: workers never read the list.
struct Pass {
  std::uint64_t generation;
  platform::EchoProbe* probe;
  std::vector<Text> addresses;
  // This pass's probes that were counted and have not finished, and when one last finished or
  // was handed out (steady-clock ticks).
  mutable std::atomic<int> outstanding{0};
  mutable std::atomic<std::int64_t> lastProgress{0};

  void NoteProgress() const {
    lastProgress.store(std::chrono::steady_clock::now().time_since_epoch().count());
  }
};
using SharedPass = std::shared_ptr<const Pass>;

void SleepOneMillisecond() {
  std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// The server list, when the row written by a pass of `generation` still stands for the host that
// was probed. UI thread only.
std::optional<forms::Control> ListForRow(std::uint64_t generation, int row) {
  if (generation != listGeneration.load() || !forms::IsLoaded(forms::MainWindow())) {
    return std::nullopt;
  }
  forms::Control list = forms::ServerList();
  if (!list.Valid() || row >= list.RowCount()) {
    return std::nullopt;
  }
  return list;
}

// A row's news for the list: being probed, or its result.
struct RowUpdate {
  std::uint64_t generation;
  int row;
  bool probing;
  std::optional<unsigned> roundTripMs;
};

// Updates not yet on the list, and whether a turn of the UI thread is asked to bring them;
// guarded by WorkerLock. Results come in faster than one UI-thread turn each could take them:
// queued, they reach the list a batch per turn, and the user's input and painting keep their
// turns in between. The list does not follow the results: it stays where the user has it.
std::vector<RowUpdate> pendingUpdates;
bool drainPosted = false;
// A turn takes at most this many, so that a burst of results cannot hold the UI thread.
constexpr std::size_t kUpdatesPerTurn = 256;

void ApplyUpdate(forms::Control& list, const RowUpdate& update) {
  if (update.probing) {
    list.SetCellText(update.row, cell::kDelay, "检测");
  } else if (update.roundTripMs) {
    list.SetRowImage(update.row, kOnlineImage);
    list.SetCellText(update.row, cell::kState, "在线");
    list.SetCellText(update.row, cell::kDelay, std::to_string(*update.roundTripMs) + "ms");
  } else {
    list.SetRowImage(update.row, kOfflineImage);
    list.SetCellText(update.row, cell::kState, "离线");
    list.SetCellText(update.row, cell::kDelay, "超时");
  }
}

void DrainUpdates() {
  std::vector<RowUpdate> batch;
  {
    std::lock_guard lock(WorkerLock());
    const std::size_t taken = std::min(pendingUpdates.size(), kUpdatesPerTurn);
    batch.assign(pendingUpdates.begin(),
                 pendingUpdates.begin() + static_cast<std::ptrdiff_t>(taken));
    pendingUpdates.erase(pendingUpdates.begin(),
                         pendingUpdates.begin() + static_cast<std::ptrdiff_t>(taken));
    drainPosted = !pendingUpdates.empty();
    if (drainPosted) {
      forms::System().PostToUiThread(DrainUpdates);
    }
  }
  for (const RowUpdate& update : batch) {
    if (auto list = ListForRow(update.generation, update.row)) {
      ApplyUpdate(*list, update);
    }
  }
}

// Called under WorkerLock, so a row's updates reach the list in the order they were made.
void QueueUpdate(const RowUpdate& update) {
  pendingUpdates.push_back(update);
  if (!drainPosted) {
    drainPosted = true;
    forms::System().PostToUiThread(DrainUpdates);
  }
}

// A probe counted by the dispatcher before it was handed to a worker, so that the cap holds for
// probes no worker has taken yet; uncounted when it ends, however it ends.
class CountedProbe {
 public:
  explicit CountedProbe(SharedPass pass) : pass_(std::move(pass)) {
    std::lock_guard lock(WorkerLock());
    runningWorkers.fetch_add(1);
    pass_->outstanding.fetch_add(1);
    pass_->NoteProgress();
  }
  ~CountedProbe() {
    std::lock_guard lock(WorkerLock());
    runningWorkers.fetch_sub(1);
    pass_->outstanding.fetch_sub(1);
    pass_->NoteProgress();
  }
  CountedProbe(const CountedProbe&) = delete;
  CountedProbe& operator=(const CountedProbe&) = delete;

  const Pass& pass() const { return *pass_; }

 private:
  SharedPass pass_;
};

void Probe(const Pass& pass, int row) {
  {
    std::lock_guard lock(WorkerLock());
    QueueUpdate({.generation = pass.generation, .row = row, .probing = true, .roundTripMs = {}});
  }
  const std::optional<unsigned> roundTripMs =
      pass.probe->Echo(pass.addresses[static_cast<std::size_t>(row)], platform::kProbeTimeoutMs);
  std::lock_guard lock(WorkerLock());
  QueueUpdate(
      {.generation = pass.generation, .row = row, .probing = false, .roundTripMs = roundTripMs});
}

// What went wrong on a worker is told as any fault of the program is: on the UI thread, in the
// fatal-error box.
void ReportOnUiThread(std::exception_ptr escaped) {
  forms::System().PostToUiThread(
      [escaped = std::move(escaped)] { forms::FatalError(forms::ExceptionText(escaped)); });
}

// One probe for a worker: its row, and its place under the cap.
struct Job {
  std::unique_ptr<CountedProbe> probe;
  int row;
};

// Up to kMaxRunningWorkers threads, started as probes need them and kept for every later pass:
// under Wine, starting and ending a thread for each row cost more than the echoes themselves.
class WorkerPool {
 public:
  // False when no worker could take the job (none exists and none can be started); the job is
  // dropped then, and its row stays as it was.
  bool Run(Job job) {
    std::unique_lock lock(mutex_);
    jobs_.push_back(std::move(job));
    wake_.notify_one();
    // A waiting worker that was woken has not yet taken its job: only jobs beyond the waiting
    // workers need one more.
    if (static_cast<int>(jobs_.size()) <= idle_) {
      return true;
    }
    if (threads_ < kMaxRunningWorkers) {
      ++threads_;
      lock.unlock();
      if (platform::StartDetachedThread([this] { Work(); })) {
        return true;
      }
      lock.lock();
      --threads_;
    }
    if (threads_ > 0) {
      return true;  // a worker takes it once it is free
    }
    jobs_.pop_back();
    return false;
  }

 private:
  void Work() {
    for (;;) {
      std::unique_lock lock(mutex_);
      ++idle_;
      wake_.wait(lock, [this] { return !jobs_.empty(); });
      --idle_;
      Job job = std::move(jobs_.front());
      jobs_.pop_front();
      lock.unlock();
      try {
        Probe(job.probe->pass(), job.row);
      } catch (...) {
        ReportOnUiThread(std::current_exception());
      }
    }
  }

  platform::HandoffLock mutex_;
  platform::HandoffCondition wake_;
  std::deque<Job> jobs_;
  int threads_ = 0;
  int idle_ = 0;
};

WorkerPool& Workers() {
  // Never destroyed: its threads wait on it until the process ends.
  static WorkerPool* pool = new WorkerPool;
  return *pool;
}

// No probe can be made: "离线" would accuse every host of a fault of this computer, so the rows
// say that their state is unknown and the user is told why once per pass.
void PostProbingImpossible(std::uint64_t generation, int rows) {
  forms::System().PostToUiThread([generation, rows] {
    for (int row = 0; row < rows; ++row) {
      if (auto list = ListForRow(generation, row)) {
        list->SetCellText(row, cell::kState, "未知");
        list->SetCellText(row, cell::kDelay, "无法检测");
      }
    }
    if (generation == listGeneration.load() && forms::IsLoaded(forms::MainWindow())) {
      forms::Control(forms::MainWindow(), kBalloon)
          .ShowBalloon(kProbingImpossibleTip, forms::System().TipPosition(forms::MainWindow()));
    }
  });
}

// Whether the pass's probes have all finished, or have been silent for kLongestSilence.
bool PassIsOver(const Pass& pass) {
  if (pass.outstanding.load() == 0) {
    return true;
  }
  const auto last = std::chrono::steady_clock::time_point(
      std::chrono::steady_clock::duration(pass.lastProgress.load()));
  return std::chrono::steady_clock::now() - last > kLongestSilence;
}

void ReachabilityDispatcher(const SharedPass& pass) {
  const int rows = static_cast<int>(pass->addresses.size());
  if (rows > 0 && !pass->probe->Available()) {
    PostProbingImpossible(pass->generation, rows);
    passesRunning.fetch_sub(1);
    return;
  }
  for (int row = 0; row < rows; ++row) {
    // After a refill this pass's results would be dropped: it starts no further probes.
    if (pass->generation != listGeneration.load()) {
      break;
    }
    // The cap is shared by every pass.
    while (runningWorkers.load() >= kMaxRunningWorkers) {
      SleepOneMillisecond();
    }
    Workers().Run({std::make_unique<CountedProbe>(pass), row});
  }
  while (!PassIsOver(*pass)) {
    SleepOneMillisecond();
  }
  passesRunning.fetch_sub(1);
}

}  // namespace

platform::HandoffLock& WorkerLock() {
  static platform::HandoffLock lock;
  return lock;
}

int RunningWorkerCount() {
  return runningWorkers.load();
}

void StartReachabilityPass() {
  if (!forms::IsLoaded(forms::MainWindow())) {
    return;
  }
  const forms::Control list = forms::ServerList();
  auto pass = std::make_shared<Pass>();
  pass->generation = listGeneration.load();
  platform::EchoProbe* probe = probeForTesting.load();
  pass->probe = probe != nullptr ? probe : &platform::SystemEchoProbe();
  const int rows = list.RowCount();
  pass->addresses.reserve(static_cast<std::size_t>(rows > 0 ? rows : 0));
  for (int row = 0; row < rows; ++row) {
    pass->addresses.push_back(list.CellText(row, cell::kHost));
  }
  WorkerLock();  // created before the first worker can need it
  Workers();

  passesRunning.fetch_add(1);
  SharedPass shared = std::move(pass);
  const auto dispatch = [shared] {
    try {
      ReachabilityDispatcher(shared);
    } catch (...) {
      ReportOnUiThread(std::current_exception());
    }
  };
  if (!platform::StartDetachedThread(dispatch)) {
    passesRunning.fetch_sub(1);
  }
}

void InvalidateReachabilityPasses() {
  listGeneration.fetch_add(1);
}

int ReachabilityPassesRunning() {
  return passesRunning.load();
}

void SetEchoProbeForTesting(platform::EchoProbe* probe) {
  probeForTesting.store(probe);
}

}  // namespace lumora::status
