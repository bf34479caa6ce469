#include "platform/locked_file.h"

#include "platform/portable/native_path.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <limits>

namespace lumora::platform {
namespace {

class PosixLockedFile final : public LockedFile {
 public:
  explicit PosixLockedFile(int descriptor) : descriptor_(descriptor) {}
  ~PosixLockedFile() override { ::close(descriptor_); }
  PosixLockedFile(const PosixLockedFile&) = delete;
  PosixLockedFile& operator=(const PosixLockedFile&) = delete;

  std::uint64_t Size() const override {
    struct stat status {};
    if (::fstat(descriptor_, &status) != 0 || status.st_size < 0) {
      return 0;
    }
    return static_cast<std::uint64_t>(status.st_size);
  }

  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    const std::uint64_t size = Size();
    if (offset > size || out.size() > size - offset) {
      return false;
    }
    std::size_t done = 0;
    while (done < out.size()) {
      const ssize_t got = ::pread(descriptor_, out.data() + done, out.size() - done,
                                  static_cast<off_t>(offset + done));
      if (got <= 0) {
        return false;
      }
      done += static_cast<std::size_t>(got);
    }
    return true;
  }

  bool Write(std::uint64_t offset, std::span<const std::uint8_t> data) override {
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) {
      return false;
    }
    std::size_t done = 0;
    while (done < data.size()) {
      const ssize_t put = ::pwrite(descriptor_, data.data() + done, data.size() - done,
                                   static_cast<off_t>(offset + done));
      if (put <= 0) {
        return false;
      }
      done += static_cast<std::size_t>(put);
    }
    return true;
  }

  bool Flush() override { return ::fdatasync(descriptor_) == 0; }
  bool Truncate(std::uint64_t size) override {
    return ::ftruncate(descriptor_, static_cast<off_t>(size)) == 0;
  }

 private:
  int descriptor_;
};

}  // namespace

std::unique_ptr<LockedFile> OpenLockedFile(const Text& path, OpenMode mode) {
  const int flags = O_RDWR | O_CLOEXEC | (mode == OpenMode::kCreateNew ? O_CREAT | O_EXCL : 0);
  const int descriptor = ::open(NativePath(path).c_str(), flags, 0644);
  if (descriptor < 0) {
    return nullptr;
  }
  // A file without write permission stays unwritten even for a user who could override that.
  struct stat status {};
  if (::fstat(descriptor, &status) != 0 || (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    ::close(descriptor);
    return nullptr;
  }
  // flock locks belong to the open file description, so a second open in this same process is
  // refused as well as one from another program.
  if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
    ::close(descriptor);
    return nullptr;
  }
  return std::make_unique<PosixLockedFile>(descriptor);
}

}  // namespace lumora::platform
