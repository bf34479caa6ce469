// A file opened for reading only, read at absolute offsets. Any sharing is allowed, so the file
// may be replaced or read by others while it is open.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/text.h"

namespace lumora::platform {

class SharedReadFile {
 public:
  SharedReadFile() = default;
  ~SharedReadFile();
  SharedReadFile(SharedReadFile&& other) noexcept;
  SharedReadFile& operator=(SharedReadFile&& other) noexcept;
  SharedReadFile(const SharedReadFile&) = delete;
  SharedReadFile& operator=(const SharedReadFile&) = delete;

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
  // The file descriptor, or the Windows file handle; kClosed when nothing is open.
  static constexpr std::intptr_t kClosed = -1;
  std::intptr_t handle_ = kClosed;
  std::uint64_t size_ = 0;
};

}  // namespace lumora::platform
