#include <windows.h>

#include <utility>

#include "platform/files.h"
#include "platform/shared_read_file.h"
#include "platform/win32/unique_handle.h"

namespace lumora::platform {
namespace {

HANDLE AsHandle(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

bool SharedReadFile::Open(const Text& path) {
  Close();
  if (!FileExists(path)) {
    return false;
  }
  // A directory does not open without FILE_FLAG_BACKUP_SEMANTICS, so only files get through.
  win32::UniqueKernelHandle handle(::CreateFileA(
      path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle) {
    return false;
  }
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(handle.get(), &size) || size.QuadPart < 0) {
    return false;
  }
  // From here the member owns it; Close hands it back to a UniqueKernelHandle to be closed.
  handle_ = reinterpret_cast<std::intptr_t>(handle.release());
  size_ = static_cast<std::uint64_t>(size.QuadPart);
  return true;
}

void SharedReadFile::Close() {
  if (handle_ != kClosed) {
    const win32::UniqueKernelHandle closing(AsHandle(std::exchange(handle_, kClosed)));
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
    const std::uint64_t position = offset + done;
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(position & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(position >> 32);
    const std::size_t left = count - done;
    const DWORD wanted = left > 0x10000000u ? 0x10000000u : static_cast<DWORD>(left);
    DWORD got = 0;
    if (!::ReadFile(AsHandle(handle_), out + done, wanted, &got, &at) || got == 0) {
      break;
    }
    done += got;
  }
  return done;
}

}  // namespace lumora::platform
