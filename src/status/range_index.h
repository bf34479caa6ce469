// A shortcut for the locator's search over a database index that is in order: every record's
// range is well-formed and lies after the one before. There the upper-middle binary search ends
// at the only record whose range holds the address, or finds none, so the record can be looked
// up directly: a table by the top 16 bits of the address narrows the index to a few records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumora::status {

class DatabaseImage;

class RangeIndex {
 public:
  RangeIndex() = default;

  // Checks the `count` index records from `first_index` on and prepares the table. False (and
  // not usable) when the index is not in order, does not lie wholly in the part of the file
  // that memory holds, or memory runs out. `image` must outlive the use of this index.
  bool Build(const DatabaseImage& image, std::uint64_t first_index, std::size_t count);
  void Clear();

  bool Usable() const { return image_ != nullptr; }

  // The index record that holds `address`, or -1 when none does.
  std::int64_t Find(std::int64_t address) const;

 private:
  std::uint32_t StartOf(std::size_t record) const;

  const DatabaseImage* image_ = nullptr;
  std::uint64_t first_index_ = 0;
  std::size_t count_ = 0;
  // starts_below_[h]: how many records start below h * 65536.
  std::vector<std::uint32_t> starts_below_;
};

}  // namespace lumora::status
