// The built-in engine's writes, through the write side of services/jet.
#include "services/jet_engine.h"

namespace lumora::services {

std::optional<jet::Database> JetTableStore::OpenWritable(const Text& path) {
  return jet::Database::Open(path, false);
}

bool JetTableStore::InsertRow(const Text& table, const sql::RowValues& values,
                              std::int32_t* auto_number) {
  return writable_ && database_.InsertRow(table, values, auto_number);
}

bool JetTableStore::UpdateRow(const Text& table, jet::RowId row, const sql::RowValues& changes) {
  return writable_ && database_.UpdateRow(table, row, changes);
}

bool JetTableStore::DeleteRow(const Text& table, jet::RowId row) {
  return writable_ && database_.DeleteRow(table, row);
}

}  // namespace lumora::services
