// A database file opened for reading, read at absolute offsets. Any sharing is allowed, so the
// file may be replaced or read by others while it is open.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/text.h"

namespace lumora::status {

class DatabaseFile {
 public:
  DatabaseFile() = default;
  ~DatabaseFile();
  DatabaseFile(DatabaseFile&& other) noexcept;
  DatabaseFile& operator=(DatabaseFile&& other) noexcept;
  DatabaseFile(const DatabaseFile&) = delete;
  DatabaseFile& operator=(const DatabaseFile&) = delete;

  // Opens the regular file at `path` (a program-style path). False for a missing file, a
  // directory or a file that cannot be opened.
  bool Open(const Text& path);
  bool IsOpen() const;
  void Close();

  // The size when it was opened.
  std::uint64_t Size() const { return size_; }

  // Reads up to `count` bytes at `offset`; gives how many were read (fewer at the end).
  std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const;

 private:
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int descriptor_ = -1;
#endif
  std::uint64_t size_ = 0;
};

}  // namespace lumora::status
