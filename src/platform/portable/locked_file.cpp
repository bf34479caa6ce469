#include "platform/locked_file.h"

#include "platform/portable/native_path.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

namespace lumora::platform {
namespace {

// The change lock is one byte far past any Access file's end (they stop at 2 GB), so that it
// never meets the bytes the file holds. Open-file-description locks: a second descriptor of the
// same file in this process is another holder, as another program would be.
constexpr off_t kChangeLockOffset = off_t{1} << 40;

constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;

FileError ErrorOf(int number) {
  switch (number) {
    case ENOENT:
    case ENOTDIR:
      return FileError::kMissing;
    case EACCES:
    case EPERM:
    case EROFS:
      return FileError::kReadOnly;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return FileError::kDiskFull;
    case EWOULDBLOCK:
    case ETXTBSY:
      return FileError::kInUse;
    case EISDIR:
    case ENXIO:
      return FileError::kNotAFile;
    default:
      return FileError::kOther;
  }
}

bool Failed(int number) {
  SetLastFileError(ErrorOf(number));
  return false;
}

class PosixLockedFile final : public LockedFile {
 public:
  PosixLockedFile(int descriptor, bool writable) : descriptor_(descriptor), writable_(writable) {}
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
      if (got < 0 && errno == EINTR) {
        continue;
      }
      if (got <= 0) {
        return got < 0 ? Failed(errno) : false;
      }
      done += static_cast<std::size_t>(got);
    }
    return true;
  }

  bool Write(std::uint64_t offset, std::span<const std::uint8_t> data) override {
    if (!writable_) {
      return Failed(EACCES);
    }
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) {
      return Failed(EFBIG);
    }
    std::size_t done = 0;
    while (done < data.size()) {
      const ssize_t put = ::pwrite(descriptor_, data.data() + done, data.size() - done,
                                   static_cast<off_t>(offset + done));
      if (put < 0 && errno == EINTR) {
        continue;
      }
      if (put <= 0) {
        return Failed(put < 0 ? errno : ENOSPC);
      }
      done += static_cast<std::size_t>(put);
    }
    return true;
  }

  bool Flush() override { return (writable_ && ::fdatasync(descriptor_) == 0) || Failed(errno); }
  bool Truncate(std::uint64_t size) override {
    return (writable_ && ::ftruncate(descriptor_, static_cast<off_t>(size)) == 0) ||
           Failed(writable_ ? errno : EACCES);
  }

  bool LockChanges(bool exclusive, bool wait) override {
    if (exclusive && !writable_) {
      return Failed(EACCES);
    }
    struct flock lock {};
    lock.l_type = exclusive ? F_WRLCK : F_RDLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = kChangeLockOffset;
    lock.l_len = 1;
    while (::fcntl(descriptor_, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock) != 0) {
      if (errno != EINTR) {
        return Failed(errno == EAGAIN || errno == EACCES ? EWOULDBLOCK : errno);
      }
    }
    return true;
  }

  void UnlockChanges() override {
    struct flock lock {};
    lock.l_type = F_UNLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = kChangeLockOffset;
    lock.l_len = 1;
    ::fcntl(descriptor_, F_OFD_SETLK, &lock);
  }

 private:
  int descriptor_;
  bool writable_;
};

// Whether the folder holding `native` refuses new files by its permission bits.
bool FolderIsReadOnly(const Text& native) {
  const std::size_t slash = native.rfind('/');
  const Text folder = slash == Text::npos ? Text(".") : native.substr(0, slash + 1);
  struct stat status {};
  return ::stat(folder.c_str(), &status) == 0 &&
         ((status.st_mode & kAnyWrite) == 0 || ::access(folder.c_str(), W_OK) != 0);
}

}  // namespace

std::unique_ptr<LockedFile> OpenLockedFile(const Text& path, OpenMode mode) {
  SetLastFileError(FileError::kNone);
  const Text native = NativePath(path);
  const bool writing = mode != OpenMode::kRead;
  if (writing && FolderIsReadOnly(native)) {
    Failed(EROFS);
    return nullptr;
  }
  // Not blocking: a pipe would otherwise hold the open until some program writes into it.
  const int flags = (writing ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK |
                    (mode == OpenMode::kCreateNew ? O_CREAT | O_EXCL : 0);
  const int descriptor = ::open(native.c_str(), flags, 0644);
  if (descriptor < 0) {
    Failed(errno);
    return nullptr;
  }
  struct stat status {};
  const auto refuse = [descriptor](int number) {
    ::close(descriptor);
    Failed(number);
    return nullptr;
  };
  if (::fstat(descriptor, &status) != 0) {
    return refuse(errno);
  }
  if (!S_ISREG(status.st_mode)) {
    return refuse(ENXIO);
  }
  // A file without write permission stays unwritten even for a user who could override that.
  if (writing && (status.st_mode & kAnyWrite) == 0) {
    return refuse(EROFS);
  }
  // flock locks belong to the open file description, so a second open in this same process is
  // refused as well as one from another program.
  if (writing && ::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
    return refuse(errno);
  }
  ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  return std::make_unique<PosixLockedFile>(descriptor, writing);
}

}  // namespace lumora::platform
