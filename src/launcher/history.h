// Emptying the History folder of its session files.
#pragma once

#include "base/text.h"

namespace lumora::launcher {

struct ClearHistoryResult {
  int deleted = 0;
  int failed = 0;  // files that matched but could not be deleted
};

// The title of the message box that reports the result.
inline constexpr char kClearHistoryTitle[] = "提示信息!";

// Deletes every file matching "*.rdp" in the History folder itself (not in folders below it).
ClearHistoryResult ClearHistory();

// The text of the message box: all cleared, or how many files could not be deleted.
Text ClearHistoryMessage(const ClearHistoryResult& result);

}  // namespace lumora::launcher
