#include "platform/profile.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace lumora::platform {

Text ReadProfileText(const Text& file, const Text& section, const Text& key, const Text& fallback) {
  // Zero-filled: when a value is cut, the bytes after the last whole character stay zero, so the
  // text ends at the terminator, whatever count the call returns.
  std::string buffer(kProfileBufferSize, '\0');
  ::GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                             static_cast<DWORD>(buffer.size()), file.c_str());
  buffer.resize(std::strlen(buffer.c_str()));
  return buffer;
}

bool WriteProfileText(const Text& file, const Text& section, const Text& key, const Text& value) {
  return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) !=
         FALSE;
}

bool ReplaceProfileSection(const Text& file, const Text& section,
                           const std::vector<std::pair<Text, Text>>& entries) {
  // "name=value" strings one after another, each ended by a zero byte, and one more at the end.
  std::string lines;
  for (const auto& [name, value] : entries) {
    lines += name + "=" + value;
    lines.push_back('\0');
  }
  lines.push_back('\0');
  return ::WritePrivateProfileSectionA(section.c_str(), lines.c_str(), file.c_str()) != FALSE;
}

}  // namespace lumora::platform
