#include "client_end.h"

#include <charconv>

namespace rdp_client {
namespace {

constexpr char kMarker[] = "xfreerdp exit code: ";

// sh runs xfreerdp as "$0" with the rest of the words as its arguments, untouched. Wine hands a
// Unix program the socket it was given for standard output, but not the same one again for its
// error stream, where xfreerdp logs; so that stream is joined to the output here.
constexpr wchar_t kScript[] = L"\"$0\" \"$@\" 2>&1; echo \"xfreerdp exit code: $?\"";

bool OneOf(int code, std::initializer_list<int> codes) {
  for (const int each : codes) {
    if (code == each) {
      return true;
    }
  }
  return false;
}

// Whether the server opened its device channel, which it does for a session that was logged on:
// its announcement (logged at the level the bridge asks for), or its check of the log-on PDU.
bool SessionWasLoggedOn(std::string_view output) {
  return output.find("server announces version") != std::string_view::npos ||
         output.find("RDPDR_USER_LOGGEDON") != std::string_view::npos;
}

}  // namespace

std::vector<std::wstring> ReportingExitCode(const std::vector<std::wstring>& freerdp) {
  std::vector<std::wstring> words{L"/bin/sh", L"-c", kScript};
  words.insert(words.end(), freerdp.begin(), freerdp.end());
  return words;
}

std::optional<int> ReportedExitCode(std::string_view output) {
  while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) {
    output.remove_suffix(1);
  }
  const std::size_t lineStart = output.find_last_of('\n') + 1;  // npos + 1 is 0
  std::string_view line = output.substr(lineStart);
  if (line.substr(0, sizeof kMarker - 1) != kMarker) {
    return std::nullopt;
  }
  line.remove_prefix(sizeof kMarker - 1);
  int code = 0;
  const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), code);
  if (error != std::errc() || end != line.data() + line.size()) {
    return std::nullopt;
  }
  return code;
}

std::wstring EndMessage(int exitCode, const std::wstring& address, std::string_view output) {
  // xrdp ends a refused log-on with 12 ("logged off") as it ends any session, but only after a
  // session was logged on does the server open the device channel.
  if (exitCode == 12 && !SessionWasLoggedOn(output)) {
    return L"远程计算机 " + address + L" 拒绝了登录：用户名或密码可能不正确。";
  }
  // 0-12: the session ended, logged off or was disconnected, by the user or the server; 145: the
  // user cancelled.
  if ((exitCode >= 0 && exitCode <= 12) || exitCode == 145) {
    return {};
  }
  // The shell reports a program killed by signal N as 128 + N, which overlaps FreeRDP's own codes
  // (SIGTERM is 143, like a failed TLS connection). FreeRDP logs an error whenever it fails by
  // itself; without one, it was stopped from outside.
  if (exitCode > 128 && output.find("[ERROR]") == std::string_view::npos) {
    return {};
  }
  if (OneOf(exitCode, {139, 140})) {
    return L"找不到远程计算机 " + address + L"，请检查远程IP。";
  }
  if (OneOf(exitCode, {131, 137, 141, 142, 147, 150})) {
    return L"无法连接到远程计算机 " + address +
           L"：请确认它已开机、网络可以到达，并且允许远程桌面连接。";
  }
  if (OneOf(exitCode, {132, 134, 154, 159})) {
    return L"无法登录到 " + address + L"：用户名或密码不正确。";
  }
  if (OneOf(exitCode, {148, 149, 152})) {
    return L"无法登录到 " + address + L"：该用户的密码已过期或必须更改。";
  }
  if (OneOf(exitCode, {135, 144, 151, 153, 155, 156, 157, 158})) {
    return L"远程计算机 " + address +
           L" 拒绝了该用户登录（账户被锁定、停用、过期或无远程登录权限）。";
  }
  if (exitCode == 143) {
    return L"无法与 " + address +
           L" 建立安全连接：它的证书与第一次连接时记下的不同，或者无法使用。如果服务器确实更换了证"
           L"书，"
           L"请删除 ~/.config/freerdp/known_hosts2 中它的那一行后重试。";
  }
  return L"远程桌面连接意外结束（FreeRDP 退出码 " + std::to_wstring(exitCode) + L"）。";
}

}  // namespace rdp_client
