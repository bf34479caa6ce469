#include "catalogue_notices.h"

#include "catalogue/storage_text.h"
#include "terminal.h"

namespace lumora::ctl {

services::StorageReport StorageReportOf(const jet::OpenReport& report) {
  return {.error = report.error,
          .journal_set_aside = report.journal.set_aside_as,
          .journal_stuck = report.journal.kind == jet::JournalOutcome::Kind::kStuck};
}

void TellSetAsideJournal(std::string_view file, const services::StorageReport& report) {
  if (!report.journal_set_aside.empty()) {
    PrintFileError(file, catalogue::storage_text::kJournalSetAside, report.journal_set_aside);
  }
}

}  // namespace lumora::ctl
