#include "launcher/history.h"

#include <string>

#include "launcher/session_file.h"
#include "platform/files.h"

namespace lumora::launcher {

namespace {

// "*.rdp" also matches "a.rdpbak" through its short name on NTFS: only names that end in ".rdp"
// (in any letter case) are session files.
bool IsSessionFileName(std::string_view name) {
  constexpr std::string_view kEnd = ".rdp";
  return name.size() > kEnd.size() && AsciiLowerCase(name).ends_with(kEnd);
}

}  // namespace

ClearHistoryResult ClearHistory() {
  const Text folder = HistoryFolder() + "\\";
  ClearHistoryResult result;
  for (const Text& name : platform::FindFiles(folder + "*.rdp")) {
    if (!IsSessionFileName(name)) {
      continue;
    }
    if (platform::RemoveFile(folder + name)) {
      ++result.deleted;
    } else {
      ++result.failed;
    }
  }
  return result;
}

Text ClearHistoryMessage(const ClearHistoryResult& result) {
  if (result.failed > 0) {
    return "有" + std::to_string(result.failed) + "个连接记录无法删除!";
  }
  return "历史连接记录已全部被清空!";
}

}  // namespace lumora::launcher
