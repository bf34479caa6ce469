#include "status/range_index.h"

#include <new>

#include "status/database_image.h"

namespace lumora::status {
namespace {

constexpr std::uint64_t kIndexRecordSize = 7;
constexpr std::size_t kBuckets = 65536;

}  // namespace

bool RangeIndex::Build(const DatabaseImage& image, std::uint64_t first_index, std::size_t count) {
  Clear();
  if (count == 0 || first_index + kIndexRecordSize * count > image.MemorySize()) {
    return false;
  }
  try {
    starts_below_.resize(kBuckets + 1);
  } catch (const std::bad_alloc&) {
    starts_below_.clear();
    return false;
  }
  // One pass: check the order and note where each bucket's records begin.
  std::size_t bucket = 0;
  std::uint64_t previous_end = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint64_t at = first_index + kIndexRecordSize * i;
    const std::uint32_t start = image.NumberAt(at, 4);
    const std::uint32_t end = image.NumberAt(image.NumberAt(at + 4, 3), 4);
    if (start > end || (i > 0 && start <= previous_end)) {
      Clear();
      return false;
    }
    previous_end = end;
    for (; bucket <= (start >> 16); ++bucket) {
      starts_below_[bucket] = static_cast<std::uint32_t>(i);
    }
  }
  for (; bucket <= kBuckets; ++bucket) {
    starts_below_[bucket] = static_cast<std::uint32_t>(count);
  }
  image_ = &image;
  first_index_ = first_index;
  count_ = count;
  return true;
}

void RangeIndex::Clear() {
  image_ = nullptr;
  first_index_ = 0;
  count_ = 0;
  starts_below_.clear();
  starts_below_.shrink_to_fit();
}

std::uint32_t RangeIndex::StartOf(std::size_t record) const {
  return image_->NumberAt(first_index_ + kIndexRecordSize * record, 4);
}

std::int64_t RangeIndex::Find(std::int64_t address) const {
  if (address < 0 || address > 0xFFFFFFFFll) {
    return -1;
  }
  const std::uint32_t value = static_cast<std::uint32_t>(address);
  const std::size_t bucket = value >> 16;
  // The records that start at or below the address are [0, n); n lies in [low, high].
  std::size_t low = starts_below_[bucket];
  std::size_t high = starts_below_[bucket + 1];
  while (low < high) {
    const std::size_t mid = low + (high - low) / 2;
    if (StartOf(mid) <= value) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  if (low == 0) {
    return -1;
  }
  const std::size_t candidate = low - 1;
  const std::uint64_t record = image_->NumberAt(first_index_ + kIndexRecordSize * candidate + 4, 3);
  if (value > image_->NumberAt(record, 4)) {
    return -1;
  }
  return static_cast<std::int64_t>(candidate);
}

}  // namespace lumora::status
