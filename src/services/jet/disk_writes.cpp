#include "services/jet/disk_writes.h"

#include <atomic>
#include <utility>

namespace lumora::jet {
namespace {

constexpr int kNoStop = -1;
std::atomic<int> operations_left{kNoStop};
std::atomic<bool> tear_next{false};
std::atomic<platform::FileError> stop_reason{platform::FileError::kOther};
// Pages a change adds are held in memory up to this much (see locked_file_source.cpp).
constexpr std::size_t kPendingInMemory = 4u << 20;
std::atomic<std::size_t> pending_in_memory{kPendingInMemory};

// The operations until a test's action runs, and the action (used by one thread at a time).
std::atomic<int> operations_until_action{-1};
std::function<void()>& Action() {
  static std::function<void()> action;
  return action;
}

void RunActionWhenDue() {
  if (operations_until_action.load() < 0 || operations_until_action.fetch_sub(1) != 0) {
    return;
  }
  const std::function<void()> action = std::exchange(Action(), nullptr);
  if (action) {
    action();
  }
}

}  // namespace

bool DiskWriteAllowed() {
  RunActionWhenDue();
  int left = operations_left.load();
  while (left != kNoStop) {
    if (left == 0) {
      platform::SetLastFileError(stop_reason.load());
      return false;
    }
    if (operations_left.compare_exchange_weak(left, left - 1)) {
      return true;
    }
  }
  return true;
}

std::size_t DiskBytesAllowed(std::size_t wanted) {
  if (DiskWriteAllowed()) {
    return wanted;
  }
  return tear_next.exchange(false) ? wanted / 2 : 0;
}

std::size_t PendingBytesInMemory() {
  return pending_in_memory.load();
}

namespace testing {
void StopDiskWritesAfter(std::optional<int> allowed, bool tear, platform::FileError why) {
  stop_reason = why;
  tear_next = allowed.has_value() && tear;
  operations_left = allowed ? *allowed : kNoStop;
}

void RunBeforeDiskOperation(int operations, std::function<void()> action) {
  Action() = std::move(action);
  operations_until_action = Action() ? operations : -1;
}

void HoldPendingBytesInMemory(std::optional<std::size_t> bytes) {
  pending_in_memory = bytes.value_or(kPendingInMemory);
}
}  // namespace testing

}  // namespace lumora::jet
