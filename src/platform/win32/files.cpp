#include "platform/files.h"

#include <windows.h>

#include <string>

#include "platform/win32/unique_handle.h"

namespace lumora::platform {

bool FileExists(const Text& path) {
  WIN32_FIND_DATAA data{};
  const win32::UniqueFindHandle find(::FindFirstFileA(path.c_str(), &data));
  return find.valid();
}

Text ExecutableDirectory() {
  std::string name(MAX_PATH, '\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameA(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) {
      return {};
    }
    // A name that fills the whole buffer may have been cut short.
    if (length < name.size()) {
      name.resize(length);
      break;
    }
    if (name.size() >= 32768 * 2) {
      return {};
    }
    name.resize(name.size() * 2);
  }
  // The second byte of a double-byte character can be 0x5C; only a whole character separates.
  std::size_t separator = Text::npos;
  for (std::size_t i = 0; i < name.size(); i += GbkCharLength(name, i)) {
    if (name[i] == '\\') {
      separator = i;
    }
  }
  if (separator == Text::npos) {
    return {};
  }
  name.resize(separator);
  return name;
}

}  // namespace lumora::platform
