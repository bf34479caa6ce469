#include "status/reachability_pass.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "forms/main_window.h"
#include "forms/window_model.h"
#include "platform/thread.h"

namespace lumora::status {
namespace {

constexpr char kServerList[] = "超级列表框1";
constexpr char kBalloon[] = "气球提示框1";
constexpr int kStateCell = 3;
constexpr int kDelayCell = 4;
constexpr int kOnlineImage = 1;
constexpr int kOfflineImage = 0;

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
  forms::Control list(forms::MainWindow(), kServerList);
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
// queued, they reach the list a batch per turn, with one scroll per batch, and the user's input
// and painting keep their turns in between.
std::vector<RowUpdate> pendingUpdates;
bool drainPosted = false;
// A turn takes at most this many, so that a burst of results cannot hold the UI thread.
constexpr std::size_t kUpdatesPerTurn = 256;

void ApplyUpdate(forms::Control& list, const RowUpdate& update) {
  if (update.probing) {
    list.SetCellText(update.row, kDelayCell, "检测");
  } else if (update.roundTripMs) {
    list.SetRowImage(update.row, kOnlineImage);
    list.SetCellText(update.row, kStateCell, "在线");
    list.SetCellText(update.row, kDelayCell, std::to_string(*update.roundTripMs) + "ms");
  } else {
    list.SetRowImage(update.row, kOfflineImage);
    list.SetCellText(update.row, kStateCell, "离线");
    list.SetCellText(update.row, kDelayCell, "超时");
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
  std::optional<forms::Control> followed;
  int lastResultRow = -1;
  for (const RowUpdate& update : batch) {
    if (auto list = ListForRow(update.generation, update.row)) {
      ApplyUpdate(*list, update);
      // Results of one batch come in the order the probes ended, so the first row may be last.
      if (!update.probing && update.row > 0) {
        followed = list;
        lastResultRow = update.row;
      }
    }
  }
  // The list follows the results as they arrive; the first row is left where it is.
  if (followed) {
    followed->EnsureRowVisible(lastResultRow);
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

void PostProbing(std::uint64_t generation, int row) {
  QueueUpdate({.generation = generation, .row = row, .probing = true, .roundTripMs = {}});
}

void PostResult(std::uint64_t generation, int row, std::optional<unsigned> roundTripMs) {
  QueueUpdate({.generation = generation, .row = row, .probing = false, .roundTripMs = roundTripMs});
}

// Counted by the dispatcher before it was started, so the cap holds for workers whose threads
// have not run yet and the dispatcher's final wait covers every one of them.
void ReachabilityWorker(const SharedPass& pass, int row) {
  {
    std::lock_guard lock(WorkerLock());
    PostProbing(pass->generation, row);
  }
  const std::optional<unsigned> roundTripMs =
      pass->probe->Echo(pass->addresses[static_cast<std::size_t>(row)], platform::kProbeTimeoutMs);
  std::lock_guard lock(WorkerLock());
  PostResult(pass->generation, row, roundTripMs);
  runningWorkers.fetch_sub(1);
}

void StartWorker(const SharedPass& pass, int row) {
  {
    std::lock_guard lock(WorkerLock());
    runningWorkers.fetch_add(1);
  }
  // A worker that cannot be started leaves its row as it was.
  if (!platform::StartDetachedThread([pass, row] { ReachabilityWorker(pass, row); })) {
    std::lock_guard lock(WorkerLock());
    runningWorkers.fetch_sub(1);
  }
}

// No probe can be made: "离线" would accuse every host of a fault of this computer, so the rows
// say that their state is unknown and the user is told why once per pass.
void PostProbingImpossible(std::uint64_t generation, int rows) {
  forms::System().PostToUiThread([generation, rows] {
    for (int row = 0; row < rows; ++row) {
      if (auto list = ListForRow(generation, row)) {
        list->SetCellText(row, kStateCell, "未知");
        list->SetCellText(row, kDelayCell, "无法检测");
      }
    }
    if (generation == listGeneration.load() && forms::IsLoaded(forms::MainWindow())) {
      forms::Control(forms::MainWindow(), kBalloon)
          .ShowBalloon(kProbingImpossibleTip, forms::System().CursorPosition());
    }
  });
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
    StartWorker(pass, row);
    while (runningWorkers.load() >= kMaxRunningWorkers) {
      SleepOneMillisecond();
    }
  }
  // The count is shared: a dispatcher also waits for the workers of passes running beside it.
  while (runningWorkers.load() != 0) {
    SleepOneMillisecond();
  }
  passesRunning.fetch_sub(1);
}

}  // namespace

std::mutex& WorkerLock() {
  static std::mutex lock;
  return lock;
}

int RunningWorkerCount() {
  return runningWorkers.load();
}

void StartReachabilityPass() {
  if (!forms::IsLoaded(forms::MainWindow())) {
    return;
  }
  const forms::Control list(forms::MainWindow(), kServerList);
  auto pass = std::make_shared<Pass>();
  pass->generation = listGeneration.load();
  platform::EchoProbe* probe = probeForTesting.load();
  pass->probe = probe != nullptr ? probe : &platform::SystemEchoProbe();
  const int rows = list.RowCount();
  pass->addresses.reserve(static_cast<std::size_t>(rows > 0 ? rows : 0));
  for (int row = 0; row < rows; ++row) {
    pass->addresses.push_back(list.CellText(row, 0));
  }
  WorkerLock();  // created before the first worker can need it

  passesRunning.fetch_add(1);
  SharedPass shared = std::move(pass);
  if (!platform::StartDetachedThread([shared] { ReachabilityDispatcher(shared); })) {
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
