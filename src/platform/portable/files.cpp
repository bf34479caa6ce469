#include "platform/files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/portable/native_path.h"

namespace lumora::platform {

bool FileExists(const Text& path) {
  const Text native = NativePath(path);
  // FindFirstFile finds nothing for an empty name or a name that ends in a separator.
  if (native.empty() || native.back() == '/') {
    return false;
  }
  struct stat info {};
  return ::stat(native.c_str(), &info) == 0;
}

Text ExecutableDirectory() {
  std::string target(256, '\0');
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", target.data(), target.size());
    if (length < 0) {
      return {};
    }
    if (static_cast<std::size_t>(length) < target.size()) {
      target.resize(static_cast<std::size_t>(length));
      break;
    }
    target.resize(target.size() * 2);
  }
  const std::size_t slash = target.rfind('/');
  if (slash == std::string::npos) {
    return {};
  }
  target.resize(slash);
  return target;
}

}  // namespace lumora::platform
