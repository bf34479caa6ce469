#include "platform/portable/native_path.h"

namespace lumora::platform {

Text NativePath(std::string_view path) {
  Text native(path);
  for (std::size_t i = 0; i < native.size(); i += GbkCharLength(native, i)) {
    if (native[i] == '\\') {
      native[i] = '/';
    }
  }
  return native;
}

}  // namespace lumora::platform
