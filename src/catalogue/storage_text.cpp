#include "catalogue/storage_text.h"

namespace lumora::catalogue {

Text FileErrorText(platform::FileError error) {
  switch (error) {
    case platform::FileError::kDiskFull:
      return storage_text::kDiskFull;
    case platform::FileError::kReadOnly:
      return storage_text::kReadOnly;
    case platform::FileError::kInUse:
      return storage_text::kInUse;
    case platform::FileError::kNotAFile:
      return storage_text::kNotAFile;
    case platform::FileError::kNone:
    case platform::FileError::kMissing:
    case platform::FileError::kOther:
      break;
  }
  return {};
}

Text StorageProblemText(const services::StorageReport& report) {
  if (report.journal_stuck) {
    // Said of the journal, not of the data file.
    Text why;
    switch (report.error) {
      case platform::FileError::kReadOnly:
        why = "（它所在的文件夹是只读的）";
        break;
      case platform::FileError::kNotAFile:
        why = "（它不是普通文件）";
        break;
      case platform::FileError::kInUse:
        why = "（它正被其他程序使用）";
        break;
      default:
        break;
    }
    return storage_text::kJournalStuck + why;
  }
  return FileErrorText(report.error);
}

Text WithReason(const Text& message, const services::StorageReport& report) {
  return message + StorageProblemText(report);
}

Text WithRefusal(const Text& message, const services::StorageReport& report) {
  if (report.refusal.empty()) {
    return message;
  }
  return message + " (refused: " + report.refusal + ")";
}

Text JournalSetAsideText(const services::StorageReport& report) {
  if (report.journal_set_aside.empty()) {
    return {};
  }
  return storage_text::kJournalSetAside + report.journal_set_aside;
}

}  // namespace lumora::catalogue
