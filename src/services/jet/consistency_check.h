// A check of a database's bookkeeping: each table's row count against its rows, its usage
// maps against its pages, and each index against the rows it lists.
#pragma once

#include <memory>
#include <vector>

#include "base/text.h"
#include "services/jet/catalog.h"
#include "services/jet/pager.h"

namespace lumora::jet {

struct CheckReport {
  // One line (GBK) per problem found.
  std::vector<Text> problems;
  // Tables and indexes looked at.
  std::size_t tables_checked = 0;
  std::size_t indexes_checked = 0;
  // Problems that are only a table's row count differing from its rows: Access itself leaves
  // such counts behind at times.
  std::size_t row_count_mismatches = 0;
  // The first problem beyond those: what makes writing unsafe.
  Text first_damage;

  bool Ok() const { return problems.empty(); }
  // Nothing found beyond stale row counts: rows, usage maps and indexes agree, so a write will
  // not spread damage.
  bool SafeToWrite() const { return problems.size() == row_count_mismatches; }
};

CheckReport CheckDatabase(const std::shared_ptr<const Pager>& pager,
                          const std::vector<CatalogEntry>& catalog);

}  // namespace lumora::jet
