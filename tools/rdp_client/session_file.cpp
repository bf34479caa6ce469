#include "session_file.h"

#include <algorithm>

#include <windows.h>

#include <wincrypt.h>

#include "platform/win32/unique_handle.h"

namespace rdp_client {
namespace {

using lumora::platform::win32::UniqueKernelHandle;

// Session files are a few kilobytes; anything much larger is not one of ours.
constexpr DWORD kLargestFile = 1 << 20;

// The program writes the session file in GBK.
constexpr UINT kGbk = 936;

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) {
    return false;
  }
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (LowerAscii(text[i]) != LowerAscii(prefix[i])) {
      return false;
    }
  }
  return true;
}

// The value of the first line "NAME:TYPE:value"; `key` is "NAME:TYPE:".
std::optional<std::string_view> FindValue(std::string_view text, std::string_view key) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    if (StartsWithIgnoringCase(line, key)) {
      return line.substr(key.size());
    }
    if (end == std::string_view::npos) {
      break;
    }
    text.remove_prefix(end + 1);
  }
  return std::nullopt;
}

std::wstring FromGbk(std::string_view text) {
  if (text.empty()) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  const int length = ::MultiByteToWideChar(kGbk, 0, text.data(), size, nullptr, 0);
  if (length <= 0) {
    return {};
  }
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(kGbk, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::wstring TextValue(std::string_view text, std::string_view key) {
  return FromGbk(FindValue(text, key).value_or(std::string_view{}));
}

// Numbers go onto xfreerdp's command line, so only plain digits are kept.
std::wstring NumberValue(std::string_view text, std::string_view key) {
  const std::string_view value = FindValue(text, key).value_or(std::string_view{});
  if (value.empty() || value.size() > 6 ||
      value.find_first_not_of("0123456789") != std::string_view::npos) {
    return {};
  }
  return std::wstring(value.begin(), value.end());
}

bool FlagIs(std::string_view text, std::string_view key, std::string_view wanted) {
  return FindValue(text, key) == wanted;
}

// A one-digit value from 0 to `highest`; `otherwise` for anything else.
int ChoiceValue(std::string_view text, std::string_view key, int highest, int otherwise) {
  const std::optional<std::string_view> value = FindValue(text, key);
  if (!value || value->size() != 1 || (*value)[0] < '0' || (*value)[0] > '0' + highest) {
    return otherwise;
  }
  return (*value)[0] - '0';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  return -1;
}

void FreeLocal(void* memory) noexcept {
  ::LocalFree(memory);
}

// CryptUnprotectData's output comes from LocalAlloc.
using UniqueLocal = lumora::platform::win32::UniqueHandle<void*, &FreeLocal>;

// The protected block is the password in UTF-16 with a terminating zero character, then zeros.
Secret Utf8FromBlock(const std::uint8_t* block, std::size_t bytes) {
  const auto* wide = reinterpret_cast<const wchar_t*>(block);
  std::size_t units = 0;
  while (units < bytes / 2 && wide[units] != L'\0') {
    ++units;
  }
  if (units == 0) {
    return Secret();
  }
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(units), nullptr, 0,
                                           nullptr, nullptr);
  if (length <= 0) {
    return Secret();
  }
  Secret utf8(static_cast<std::size_t>(length));
  ::WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(units),
                        reinterpret_cast<char*>(utf8.data()), length, nullptr, nullptr);
  return utf8;
}

}  // namespace

std::optional<SessionSettings> ParseSessionText(std::string_view gbk) {
  SessionSettings settings;
  settings.address = TextValue(gbk, "full address:s:");
  if (settings.address.empty()) {
    return std::nullopt;
  }
  settings.user = TextValue(gbk, "username:s:");
  settings.domain = TextValue(gbk, "domain:s:");
  settings.width = NumberValue(gbk, "desktopwidth:i:");
  settings.height = NumberValue(gbk, "desktopheight:i:");
  settings.colourDepth = NumberValue(gbk, "session bpp:i:");
  settings.fullScreen = FlagIs(gbk, "screen mode id:i:", "2");
  settings.clipboard = FlagIs(gbk, "redirectclipboard:i:", "1");
  settings.audioMode = ChoiceValue(gbk, "audiomode:i:", 2, 2);
  settings.recording = FlagIs(gbk, "audiocapturemode:i:", "1");
  settings.compression = !FlagIs(gbk, "compression:i:", "0");
  settings.keyboardHook = ChoiceValue(gbk, "keyboardhook:i:", 2, 2);
  settings.connectionBar = !FlagIs(gbk, "displayconnectionbar:i:", "0");
  settings.wallpaper = FlagIs(gbk, "disable wallpaper:i:", "0");
  settings.themes = FlagIs(gbk, "disable themes:i:", "0");
  settings.autoReconnect = FlagIs(gbk, "autoreconnection enabled:i:", "1");
  settings.printers = FlagIs(gbk, "redirectprinters:i:", "1");
  settings.smartCards = FlagIs(gbk, "redirectsmartcards:i:", "1");
  settings.serialPorts = FlagIs(gbk, "redirectcomports:i:", "1");
  const std::wstring drives = TextValue(gbk, "drivestoredirect:s:");
  for (std::size_t start = 0; start < drives.size();) {
    const std::size_t end = std::min(drives.find(L';', start), drives.size());
    if (end > start) {
      settings.drives.push_back(drives.substr(start, end - start));
    }
    start = end + 1;
  }
  if (const auto spelt = FindValue(gbk, "password 51:b:")) {
    settings.passwordBlob = DecodeHexBlob(*spelt).value_or(std::vector<std::uint8_t>{});
  }
  return settings;
}

std::optional<SessionSettings> ReadSessionFile(const std::wstring& path) {
  const UniqueKernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    return std::nullopt;
  }
  const DWORD size = ::GetFileSize(file.get(), nullptr);
  if (size == INVALID_FILE_SIZE || size > kLargestFile) {
    return std::nullopt;
  }
  // The file holds the protected password, so its bytes are wiped after parsing too.
  Secret content(size);
  DWORD read = 0;
  if (size != 0 &&
      (!::ReadFile(file.get(), content.data(), size, &read, nullptr) || read != size)) {
    return std::nullopt;
  }
  return ParseSessionText(
      std::string_view(reinterpret_cast<const char*>(content.data()), content.size()));
}

std::optional<std::vector<std::uint8_t>> DecodeHexBlob(std::string_view spelt) {
  std::vector<std::uint8_t> blob;
  blob.reserve(spelt.size() / 2);
  for (std::size_t at = 0; at + 1 < spelt.size(); at += 2) {
    const int high = HexDigit(spelt[at]);
    const int low = HexDigit(spelt[at + 1]);
    if (high < 0 || low < 0) {
      return std::nullopt;
    }
    blob.push_back(static_cast<std::uint8_t>(high << 4 | low));
  }
  return blob;
}

std::optional<Secret> RecoverPassword(const std::vector<std::uint8_t>& blob) {
  if (blob.empty()) {
    return std::nullopt;
  }
  // The service takes a non-const pointer.
  std::vector<std::uint8_t> input(blob);
  DATA_BLOB in{static_cast<DWORD>(input.size()), input.data()};
  DATA_BLOB out{};
  if (!::CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN,
                            &out)) {
    return std::nullopt;
  }
  const UniqueLocal owner(out.pbData);
  Secret password = Utf8FromBlock(out.pbData, out.cbData);
  WipeMemory(out.pbData, out.cbData);
  return password;
}

}  // namespace rdp_client
