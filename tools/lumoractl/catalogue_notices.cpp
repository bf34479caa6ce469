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

bool OpenCatalogueForChange(services::DBConnection& connection, services::RecordSet& records,
                            const Text& file) {
  const bool opened = connection.OpenAccess(file, "") && records.SetConnection(connection);
  const services::StorageReport report = connection.Report();
  TellSetAsideJournal(file, report);
  if (!opened) {
    const Text why = catalogue::StorageProblemText(report);
    PrintFileError(file, why.empty() ? Text("cannot open the catalogue") : why);
    return false;
  }
  if (!connection.ReadOnly()) {
    return true;
  }
  if (connection.Damaged()) {
    PrintFileError(file,
                   "the catalogue is damaged; `lumoractl catalogue check` lists what is wrong");
    return false;
  }
  const Text why = catalogue::StorageProblemText(report);
  PrintFileError(file, why.empty() ? Text(catalogue::storage_text::kInUse) : why);
  return false;
}

}  // namespace lumora::ctl
