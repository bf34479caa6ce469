#include "status/database_image.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace lumora::status {

bool DatabaseImage::Load(platform::SharedReadFile file, std::size_t memory_limit) {
  Clear();
  if (!file.IsOpen()) {
    return false;
  }
  size_ = file.Size();
  std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(size_, memory_limit));
  if (wanted > 0) {
    head_.reset(new (std::nothrow) unsigned char[wanted]);
    if (!head_) {
      wanted = 0;
    }
  }
  // A file that shrank while it was read has its missing bytes read as zeros, which is what
  // the reads give past the end anyway; the size stays the one it had when it was opened.
  const std::size_t got = file.ReadAt(0, head_.get(), wanted);
  if (got < wanted) {
    std::memset(head_.get() + got, 0, wanted - got);
  }
  head_size_ = wanted;
  if (head_size_ < size_) {
    tail_ = std::move(file);
  }
  return true;
}

void DatabaseImage::Clear() {
  head_.reset();
  head_size_ = 0;
  size_ = 0;
  tail_.Close();
}

int DatabaseImage::TailByteAt(std::uint64_t offset) const {
  unsigned char byte = 0;
  if (offset >= size_ || tail_.ReadAt(offset, &byte, 1) != 1) {
    return -1;
  }
  return byte;
}

std::uint32_t DatabaseImage::NumberNearTheEnd(std::uint64_t offset, int width) const {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) {
    const int byte = ByteAt(offset + static_cast<std::uint64_t>(i));
    value = (value << 8) | static_cast<std::uint32_t>(byte < 0 ? 0 : byte);
  }
  return value;
}

std::uint64_t DatabaseImage::AppendTextAt(std::uint64_t offset, Text& text) const {
  std::size_t taken = 0;
  if (offset < head_size_) {
    const unsigned char* start = head_.get() + offset;
    const std::size_t available =
        std::min<std::size_t>(head_size_ - static_cast<std::size_t>(offset), kTextLimit);
    const void* zero = std::memchr(start, 0, available);
    const std::size_t length =
        zero ? static_cast<std::size_t>(static_cast<const unsigned char*>(zero) - start)
             : available;
    text.append(reinterpret_cast<const char*>(start), length);
    if (zero) {
      return offset + length + 1;
    }
    taken = length;
    offset += length;
  }
  // The rest lies in the part of the file that memory does not hold.
  char chunk[4096];
  while (offset < size_ && taken < kTextLimit) {
    const std::size_t wanted = std::min<std::size_t>(sizeof chunk, kTextLimit - taken);
    const std::size_t got = tail_.ReadAt(offset, chunk, wanted);
    if (got == 0) {
      break;
    }
    const void* zero = std::memchr(chunk, 0, got);
    const std::size_t length =
        zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - chunk) : got;
    text.append(chunk, length);
    if (zero) {
      return offset + length + 1;
    }
    taken += length;
    offset += length;
  }
  return offset;
}

}  // namespace lumora::status
