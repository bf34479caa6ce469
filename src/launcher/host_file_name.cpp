#include "launcher/host_file_name.h"

#include <array>

namespace lumora::launcher {
namespace {

constexpr std::string_view kForbidden = "\\/<>:\"|?*";

constexpr std::array<std::string_view, 24> kDeviceNames = {
    "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3",   "COM4",
    "COM5", "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2",   "LPT3",
    "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9", "CONIN$", "CONOUT$",
};

// The system takes a name for a device when the part before its first dot, blanks at its end
// left off, is a device name.
bool IsDeviceName(std::string_view name) {
  std::string_view stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') {
    stem.remove_suffix(1);
  }
  for (const std::string_view device : kDeviceNames) {
    if (AsciiLowerCase(stem) == AsciiLowerCase(device)) {
      return true;
    }
  }
  return false;
}

}  // namespace

Text HistoryFileStem(std::string_view host) {
  return IsDeviceName(host) ? "_" + Text(host) : Text(host);
}

bool IsPlainFileName(std::string_view host) {
  if (host.empty() || host.back() == '.' || host.back() == ' ') {
    return false;
  }
  for (std::size_t at = 0; at < host.size(); at += GbkCharLength(host, at)) {
    const auto byte = static_cast<unsigned char>(host[at]);
    if (IsGbkLeadByte(byte)) {
      // A lead byte without its second byte is no character at all.
      if (at + 1 == host.size()) {
        return false;
      }
      continue;
    }
    if (byte < 0x20 || byte == 0x7F ||
        kForbidden.find(static_cast<char>(byte)) != kForbidden.npos) {
      return false;
    }
  }
  return FindOnCharBoundary(host, "..") == std::string_view::npos && !IsDeviceName(host);
}

}  // namespace lumora::launcher
