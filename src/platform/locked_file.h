// A file opened for reading and writing by one program at a time: while one is open, a second
// open for writing of the same file fails, here or in another program.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "base/text.h"

namespace lumora::platform {

class LockedFile {
 public:
  virtual ~LockedFile() = default;

  virtual std::uint64_t Size() const = 0;
  // False when any part of the range lies outside the file or the call fails.
  virtual bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;
  // Writes at `offset`; the file grows when the range passes its end.
  virtual bool Write(std::uint64_t offset, std::span<const std::uint8_t> data) = 0;
  // Makes every write so far durable before the next one starts.
  virtual bool Flush() = 0;
  // Cuts the file (or lengthens it with zeros) to `size` bytes.
  virtual bool Truncate(std::uint64_t size) = 0;
};

enum class OpenMode { kExisting, kCreateNew };

// Opens `path` (program-style, GBK) for reading and writing and takes the writer's lock. Empty
// when the file cannot be opened (or, for kCreateNew, already exists) or another writer holds it.
std::unique_ptr<LockedFile> OpenLockedFile(const Text& path, OpenMode mode);

}  // namespace lumora::platform
