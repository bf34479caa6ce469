#include "services/jet/jet_read_all.h"

#include "platform/code_page.h"
#include "services/values/field_text.h"

namespace lumora::jet::testing {

ReadTotals ReadEverything(const Database& database) {
  ReadTotals totals;
  for (const CatalogEntry& entry : database.Catalog()) {
    if (!entry.IsTable()) {
      continue;
    }
    const std::optional<TableReader> table = database.OpenTable(platform::WideToGbk(entry.name));
    if (!table) {
      continue;
    }
    ++totals.tables;
    TableReader::Cursor cursor = table->Rows();
    Row row;
    while (cursor.Next(row)) {
      ++totals.rows;
      for (const Value& value : row.values) {
        totals.text_bytes += FieldToText(value).size();
      }
    }
  }
  return totals;
}

}  // namespace lumora::jet::testing
