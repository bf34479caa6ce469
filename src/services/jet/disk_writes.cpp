#include "services/jet/disk_writes.h"

#include <atomic>

namespace lumora::jet {
namespace {

constexpr int kNoStop = -1;
std::atomic<int> operations_left{kNoStop};

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

namespace testing {
void StopDiskWritesAfter(std::optional<int> allowed) {
  operations_left = allowed ? *allowed : kNoStop;
}
}  // namespace testing

}  // namespace lumora::jet
