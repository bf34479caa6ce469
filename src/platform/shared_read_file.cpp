// What both implementations share: ownership of the one handle.
#include "platform/shared_read_file.h"

#include <utility>

namespace lumora::platform {

SharedReadFile::~SharedReadFile() {
  Close();
}

SharedReadFile::SharedReadFile(SharedReadFile&& other) noexcept
    : handle_(std::exchange(other.handle_, kClosed)), size_(std::exchange(other.size_, 0)) {}

SharedReadFile& SharedReadFile::operator=(SharedReadFile&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, kClosed);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

bool SharedReadFile::IsOpen() const {
  return handle_ != kClosed;
}

}  // namespace lumora::platform
