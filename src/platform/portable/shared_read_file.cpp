#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files.h"
#include "platform/portable/native_path.h"
#include "platform/shared_read_file.h"

namespace lumora::platform {

bool SharedReadFile::Open(const Text& path) {
  Close();
  if (!FileExists(path)) {
    return false;
  }
  const Text native = NativePath(path);
  const int descriptor = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) {
    return false;
  }
  struct stat info {};
  if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(descriptor);
    return false;
  }
  handle_ = descriptor;
  size_ = static_cast<std::uint64_t>(info.st_size);
  return true;
}

void SharedReadFile::Close() {
  if (handle_ != kClosed) {
    ::close(static_cast<int>(handle_));
    handle_ = kClosed;
  }
  size_ = 0;
}

std::size_t SharedReadFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const {
  if (handle_ == kClosed || offset >= size_) {
    return 0;
  }
  auto* out = static_cast<unsigned char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t got = ::pread(static_cast<int>(handle_), out + done, count - done,
                                static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got <= 0) {
      break;
    }
    done += static_cast<std::size_t>(got);
  }
  return done;
}

}  // namespace lumora::platform
