// Reading the rows of one table: every live row on the data pages its usage map lists.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "base/text.h"
#include "services/jet/pager.h"
#include "services/jet/table_definition.h"
#include "services/jet/values.h"

namespace lumora::jet {

class TableReader {
 public:
  TableReader(std::shared_ptr<const Pager> pager, TableDefinition definition);

  const TableDefinition& Definition() const { return definition_; }
  // Sorted by column number.
  const std::vector<Column>& Columns() const { return definition_.columns; }
  // Position of the column named `name` (GBK, compared as Jet compares names).
  std::optional<std::size_t> FindColumn(const Text& name) const;
  // GBK spelling of a column's name.
  Text ColumnName(std::size_t index) const;

  // Steps through the rows in storage order.
  class Cursor {
   public:
    // The next live row; false at the end. Damaged rows are skipped.
    bool Next(Row& row);

   private:
    friend class TableReader;
    explicit Cursor(const TableReader& table) : table_(&table) {}

    const TableReader* table_;
    std::size_t page_index_ = 0;
    std::size_t slot_ = 0;
    Bytes page_;
    bool page_loaded_ = false;
  };

  Cursor Rows() const { return Cursor(*this); }
  std::vector<Row> ReadAll() const;

 private:
  // The row bytes behind a header slot, following overflow pointers; false when damaged.
  bool ResolveRow(ByteView page, std::size_t slot, Bytes& storage, ByteView& row) const;

  std::shared_ptr<const Pager> pager_;
  TableDefinition definition_;
  std::vector<std::uint32_t> data_pages_;
};

}  // namespace lumora::jet
