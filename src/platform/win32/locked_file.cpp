#include "platform/locked_file.h"

#include <windows.h>

#include "platform/code_page.h"
#include "platform/win32/unique_handle.h"

namespace lumora::platform {
namespace {

// The change lock is one byte far past any Access file's end (they stop at 2 GB): Windows' byte
// locks keep others from the bytes they cover, and nobody reads or writes there.
constexpr DWORD kChangeLockOffsetHigh = 0x100;

FileError ErrorOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return FileError::kMissing;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return FileError::kReadOnly;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return FileError::kInUse;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return FileError::kDiskFull;
    default:
      return FileError::kOther;
  }
}

bool Failed() {
  SetLastFileError(ErrorOf(GetLastError()));
  return false;
}

class WindowsLockedFile final : public LockedFile {
 public:
  WindowsLockedFile(win32::UniqueKernelHandle handle, bool writable)
      : handle_(std::move(handle)), writable_(writable) {}

  std::uint64_t Size() const override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle_.get(), &size) || size.QuadPart < 0) {
      return 0;
    }
    return static_cast<std::uint64_t>(size.QuadPart);
  }

  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    const std::uint64_t size = Size();
    if (offset > size || out.size() > size - offset) {
      return false;
    }
    std::size_t done = 0;
    while (done < out.size()) {
      OVERLAPPED at = Position(offset + done);
      DWORD got = 0;
      const DWORD want = static_cast<DWORD>(out.size() - done);
      if (!ReadFile(handle_.get(), out.data() + done, want, &got, &at)) {
        return Failed();
      }
      if (got == 0) {
        return false;
      }
      done += got;
    }
    return true;
  }

  bool Write(std::uint64_t offset, std::span<const std::uint8_t> data) override {
    std::size_t done = 0;
    while (done < data.size()) {
      OVERLAPPED at = Position(offset + done);
      DWORD put = 0;
      const DWORD want = static_cast<DWORD>(data.size() - done);
      if (!WriteFile(handle_.get(), data.data() + done, want, &put, &at)) {
        return Failed();
      }
      if (put == 0) {
        SetLastFileError(FileError::kDiskFull);
        return false;
      }
      done += put;
    }
    return true;
  }

  bool Flush() override { return FlushFileBuffers(handle_.get()) != 0 || Failed(); }
  bool Truncate(std::uint64_t size) override {
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    return (SetFilePointerEx(handle_.get(), end, nullptr, FILE_BEGIN) != 0 &&
            SetEndOfFile(handle_.get()) != 0) ||
           Failed();
  }

  bool LockChanges(bool exclusive, bool wait) override {
    if (exclusive && !writable_) {
      SetLastFileError(FileError::kReadOnly);
      return false;
    }
    OVERLAPPED at{};
    at.OffsetHigh = kChangeLockOffsetHigh;
    const DWORD flags =
        (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0) | (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
    return LockFileEx(handle_.get(), flags, 0, 1, 0, &at) != 0 || Failed();
  }

  void UnlockChanges() override {
    OVERLAPPED at{};
    at.OffsetHigh = kChangeLockOffsetHigh;
    UnlockFileEx(handle_.get(), 0, 1, 0, &at);
  }

 private:
  static OVERLAPPED Position(std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
  }

  win32::UniqueKernelHandle handle_;
  bool writable_;
};

}  // namespace

std::unique_ptr<LockedFile> OpenLockedFile(const Text& path, OpenMode mode) {
  SetLastFileError(FileError::kNone);
  const std::u16string wide = GbkToWide(path);
  const auto* name = reinterpret_cast<const wchar_t*>(wide.c_str());
  const bool writing = mode != OpenMode::kRead;
  // A read-only file stays unwritten even for a user allowed to override the attribute.
  if (mode == OpenMode::kExisting) {
    const DWORD attributes = GetFileAttributesW(name);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      Failed();
      return nullptr;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      SetLastFileError(FileError::kNotAFile);
      return nullptr;
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
      SetLastFileError(FileError::kReadOnly);
      return nullptr;
    }
  }
  // A writer lets others read, but nobody else may open the file for writing; a reader lets
  // the writer in.
  const DWORD access = writing ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
  const DWORD share = writing ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
  const DWORD disposition = mode == OpenMode::kCreateNew ? CREATE_NEW : OPEN_EXISTING;
  win32::UniqueKernelHandle handle(
      CreateFileW(name, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle) {
    Failed();
    return nullptr;
  }
  // A pipe or a device under a file's name is no catalogue.
  if (GetFileType(handle.get()) != FILE_TYPE_DISK) {
    SetLastFileError(FileError::kNotAFile);
    return nullptr;
  }
  return std::make_unique<WindowsLockedFile>(std::move(handle), writing);
}

}  // namespace lumora::platform
