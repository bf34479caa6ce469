#include "services/jet/disk_writes.h"

#include <atomic>

namespace lumora::jet {
namespace {

constexpr int kNoStop = -1;
std::atomic<int> operations_left{kNoStop};
std::atomic<bool> tear_next{false};

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

namespace testing {
void StopDiskWritesAfter(std::optional<int> allowed, bool tear) {
  tear_next = allowed.has_value() && tear;
  operations_left = allowed ? *allowed : kNoStop;
}
}  // namespace testing

}  // namespace lumora::jet
