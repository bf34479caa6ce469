#include "catalogue_notices.h"

#include "catalogue/storage_text.h"
#include "services/jet/failure.h"
#include "terminal.h"

namespace lumora::ctl {

services::StorageReport StorageReportOf(const jet::OpenReport& report) {
  return {.error = report.error,
          .journal_set_aside = report.journal.set_aside_as,
          .journal_stuck = report.journal.kind == jet::JournalOutcome::Kind::kStuck,
          .refusal = jet::FailureText(report.failure)};
}

void TellSetAsideJournal(std::string_view file, const services::StorageReport& report) {
  if (!report.journal_set_aside.empty()) {
    PrintFileError(file, catalogue::storage_text::kJournalSetAside, report.journal_set_aside);
  }
}

bool OpenCatalogueForChange(services::DBConnection& connection, services::RecordSet& records,
                            const Text& file) {
  const bool opened = connection.OpenAccess(file, "") && records.SetConnection(connection);
  TellSetAsideJournal(file, connection.Report());
  if (!opened) {
    const Text why = catalogue::StorageProblemText(connection.Report());
    PrintFileError(file,
                   catalogue::WithRefusal(why.empty() ? Text("cannot open the catalogue") : why,
                                          connection.Report()));
    return false;
  }
  if (!connection.ReadOnly()) {
    return true;
  }
  // Damaged runs the consistency check where it has not run yet: the report then says what it
  // found.
  const bool damaged = connection.Damaged();
  const services::StorageReport report = connection.Report();
  if (damaged) {
    PrintFileError(file, catalogue::WithRefusal("the catalogue is damaged", report) +
                             "; `lumoractl catalogue check` lists what is wrong");
    return false;
  }
  const Text why = catalogue::StorageProblemText(report);
  PrintFileError(file, catalogue::WithRefusal(
                           why.empty() ? Text(catalogue::storage_text::kInUse) : why, report));
  return false;
}

}  // namespace lumora::ctl
