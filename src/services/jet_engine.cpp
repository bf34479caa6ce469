#include "services/jet_engine.h"

#include "services/jet/failure.h"
#include "services/sql/store_engine.h"

namespace lumora::services {

std::shared_ptr<JetTableStore> JetTableStore::Open(const Text& path) {
  StorageReport report;
  return Open(path, report);
}

std::shared_ptr<JetTableStore> JetTableStore::Open(const Text& path, StorageReport& report) {
  jet::OpenReport writer;
  std::optional<jet::Database> writable = OpenWritable(path, writer);
  report.journal_set_aside = writer.journal.set_aside_as;
  report.journal_stuck = writer.journal.kind == jet::JournalOutcome::Kind::kStuck;
  if (writable) {
    return std::shared_ptr<JetTableStore>(new JetTableStore(std::move(*writable), true, report));
  }
  report.error = writer.error;
  report.refusal = jet::FailureText(writer.failure);
  std::optional<jet::Database> readable = jet::Database::Open(path, true);
  if (!readable) {
    return nullptr;
  }
  return std::shared_ptr<JetTableStore>(new JetTableStore(std::move(*readable), false, report));
}

std::optional<sql::StoredTable> JetTableStore::ReadTable(const Text& name) const {
  std::optional<jet::TableReader> reader = database_.OpenTable(name);
  if (!reader) {
    return std::nullopt;
  }
  sql::StoredTable table;
  table.name = name;
  const std::vector<jet::Column>& columns = reader->Columns();
  for (std::size_t index = 0; index < columns.size(); ++index) {
    const jet::Column& column = columns[index];
    table.columns.push_back({.name = reader->ColumnName(index),
                             .type = column.type,
                             .length = column.length,
                             // The file's column flags do not tell Required columns; the
                             // write side refuses a Null where the file does not allow one.
                             .nullable = true,
                             .auto_number = column.IsAutoNumber()});
  }
  table.rows = reader->ReadAll();
  return table;
}

std::unique_ptr<DatabaseEngine> MakeJetEngine() {
  return std::make_unique<sql::StoreEngine>(
      [](const ConnectionRequest& request,
         StorageReport& report) -> std::shared_ptr<sql::TableStore> {
        return JetTableStore::Open(request.path, report);
      });
}

}  // namespace lumora::services
