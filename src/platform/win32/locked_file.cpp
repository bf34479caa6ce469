#include "platform/locked_file.h"

#include <windows.h>

#include "platform/code_page.h"
#include "platform/win32/unique_handle.h"

namespace lumora::platform {
namespace {

class WindowsLockedFile final : public LockedFile {
 public:
  explicit WindowsLockedFile(win32::UniqueKernelHandle handle) : handle_(std::move(handle)) {}

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
      if (!ReadFile(handle_.get(), out.data() + done, want, &got, &at) || got == 0) {
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
      if (!WriteFile(handle_.get(), data.data() + done, want, &put, &at) || put == 0) {
        return false;
      }
      done += put;
    }
    return true;
  }

  bool Flush() override { return FlushFileBuffers(handle_.get()) != 0; }
  bool Truncate(std::uint64_t size) override {
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    return SetFilePointerEx(handle_.get(), end, nullptr, FILE_BEGIN) != 0 &&
           SetEndOfFile(handle_.get()) != 0;
  }

 private:
  static OVERLAPPED Position(std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
  }

  win32::UniqueKernelHandle handle_;
};

}  // namespace

std::unique_ptr<LockedFile> OpenLockedFile(const Text& path, OpenMode mode) {
  const std::u16string wide = GbkToWide(path);
  const auto* name = reinterpret_cast<const wchar_t*>(wide.c_str());
  // A read-only file stays unwritten even for a user allowed to override the attribute.
  if (mode == OpenMode::kExisting) {
    const DWORD attributes = GetFileAttributesW(name);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
      return nullptr;
    }
  }
  // Others may read while we write, but nobody else may open the file for writing.
  win32::UniqueKernelHandle handle(CreateFileW(
      reinterpret_cast<const wchar_t*>(wide.c_str()), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
      nullptr, mode == OpenMode::kCreateNew ? CREATE_NEW : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
      nullptr));
  if (!handle) {
    return nullptr;
  }
  return std::make_unique<WindowsLockedFile>(std::move(handle));
}

}  // namespace lumora::platform
