#ifndef _WIN32

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/files.h"
#include "platform/portable/native_path.h"
#include "status/database_file.h"

namespace lumora::status {

DatabaseFile::~DatabaseFile() {
  Close();
}

DatabaseFile::DatabaseFile(DatabaseFile&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)), size_(std::exchange(other.size_, 0)) {}

DatabaseFile& DatabaseFile::operator=(DatabaseFile&& other) noexcept {
  if (this != &other) {
    Close();
    descriptor_ = std::exchange(other.descriptor_, -1);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

bool DatabaseFile::Open(const Text& path) {
  Close();
  if (!platform::FileExists(path)) {
    return false;
  }
  const Text native = platform::NativePath(path);
  const int descriptor = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) {
    return false;
  }
  struct stat info {};
  if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(descriptor);
    return false;
  }
  descriptor_ = descriptor;
  size_ = static_cast<std::uint64_t>(info.st_size);
  return true;
}

bool DatabaseFile::IsOpen() const {
  return descriptor_ >= 0;
}

void DatabaseFile::Close() {
  if (descriptor_ >= 0) {
    ::close(descriptor_);
    descriptor_ = -1;
  }
  size_ = 0;
}

std::size_t DatabaseFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const {
  if (descriptor_ < 0 || offset >= size_) {
    return 0;
  }
  auto* out = static_cast<unsigned char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t got =
        ::pread(descriptor_, out + done, count - done, static_cast<off_t>(offset + done));
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

}  // namespace lumora::status

#endif  // _WIN32
