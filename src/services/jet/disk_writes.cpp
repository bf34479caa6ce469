#include "services/jet/disk_writes.h"

#include <atomic>

namespace lumora::jet {
namespace {

constexpr int kNoStop = -1;
std::atomic<int> operations_left{kNoStop};
std::atomic<bool> tear_next{false};
// Pages a change adds are held in memory up to this much (see locked_file_source.cpp).
constexpr std::size_t kPendingInMemory = 4u << 20;
std::atomic<std::size_t> pending_in_memory{kPendingInMemory};

}  // namespace

bool DiskWriteAllowed() {
  int left = operations_left.load();
  while (left != kNoStop) {
    if (left == 0) {
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
void StopDiskWritesAfter(std::optional<int> allowed, bool tear) {
  tear_next = allowed.has_value() && tear;
  operations_left = allowed ? *allowed : kNoStop;
}

void HoldPendingBytesInMemory(std::optional<std::size_t> bytes) {
  pending_in_memory = bytes.value_or(kPendingInMemory);
}
}  // namespace testing

}  // namespace lumora::jet
