// What the user is told about the catalogue file itself: why it cannot be written, and a
// journal beside it that was set aside. The host editor, the program's start and lumoractl use
// the same words.
#pragma once

#include "base/text.h"
#include "platform/file_error.h"
#include "services/storage_report.h"

namespace lumora::catalogue {

namespace storage_text {
inline constexpr char kDiskFull[] = "磁盘空间不足";
inline constexpr char kReadOnly[] = "数据文件是只读的";
inline constexpr char kInUse[] = "数据文件正被其他程序使用";
inline constexpr char kNotAFile[] = "数据文件不是普通文件";
inline constexpr char kJournalStuck[] = "数据文件旁的恢复日志无法处理";
inline constexpr char kJournalSetAside[] = "发现不属于当前数据文件的恢复日志，已保留为 ";
}  // namespace storage_text

// The words for `error`; empty for one that says nothing to the user (none, or unknown).
Text FileErrorText(platform::FileError error);

// Why the file could not be written, as far as `report` tells; empty when it does not.
Text StorageProblemText(const services::StorageReport& report);

// `message` (a failure the editor reports) followed by why the file could not be written, when
// `report` tells: "服务器添加失败!磁盘空间不足".
Text WithReason(const Text& message, const services::StorageReport& report);

// `message` followed by the engine's own words for the check that refused, when `report` gives
// them: "服务器添加失败! (refused: a unique key would repeat at table_writer.cpp:112)". For
// lumoractl, whose reader can look the check up; the program's windows keep to the words above.
Text WithRefusal(const Text& message, const services::StorageReport& report);

// The notice for a journal the open set aside; empty when it set none aside.
Text JournalSetAsideText(const services::StorageReport& report);

}  // namespace lumora::catalogue
