// The bytes of a location database as the locator reads them: every read at or past the end
// gives fewer bytes, and missing bytes count as zero. Files up to kMemoryLimit are read into
// memory whole and closed; of a larger file the first kMemoryLimit bytes are kept in memory and
// the file stays open for the rest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "base/text.h"
#include "platform/shared_read_file.h"

namespace lumora::status {

class DatabaseImage {
 public:
  static constexpr std::size_t kMemoryLimit = 64u << 20;
  // The longest text one read gives; only a damaged file has texts anywhere near it.
  static constexpr std::size_t kTextLimit = 64u << 20;

  DatabaseImage() = default;
  DatabaseImage(const DatabaseImage&) = delete;
  DatabaseImage& operator=(const DatabaseImage&) = delete;

  // Takes over an open file, keeping at most `memory_limit` bytes of it in memory. False when
  // it is not open.
  bool Load(platform::SharedReadFile file, std::size_t memory_limit = kMemoryLimit);
  void Clear();

  std::uint64_t Size() const { return size_; }

  // The byte at `offset`, or -1 past the end.
  int ByteAt(std::uint64_t offset) const {
    if (offset < head_size_) {
      return head_[offset];
    }
    return TailByteAt(offset);
  }

  // The little-endian unsigned number of `width` bytes (1 to 4) at `offset`.
  std::uint32_t NumberAt(std::uint64_t offset, int width) const {
    if (offset + static_cast<std::uint64_t>(width) <= head_size_) {
      const unsigned char* at = head_.get() + offset;
      std::uint32_t value = 0;
      for (int i = width - 1; i >= 0; --i) {
        value = (value << 8) | at[i];
      }
      return value;
    }
    return NumberNearTheEnd(offset, width);
  }

  // How many of the first bytes memory holds.
  std::size_t MemorySize() const { return head_size_; }

  // Appends the bytes from `offset` up to the next zero byte or the end of the file, without
  // the zero, and gives the offset after what was read (after the zero, when one was found).
  std::uint64_t AppendTextAt(std::uint64_t offset, Text& text) const;

 private:
  int TailByteAt(std::uint64_t offset) const;
  std::uint32_t NumberNearTheEnd(std::uint64_t offset, int width) const;

  std::unique_ptr<unsigned char[]> head_;
  std::size_t head_size_ = 0;
  std::uint64_t size_ = 0;
  platform::SharedReadFile tail_;  // open only while the file is larger than what memory holds
};

}  // namespace lumora::status
