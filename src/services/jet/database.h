// A Jet 4 (Access 2000-2003) database file opened for reading: its tables by name and their
// rows. Failures give false or an empty result, never an exception.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "base/text.h"
#include "services/jet/catalog.h"
#include "services/jet/header.h"
#include "services/jet/pager.h"
#include "services/jet/table_reader.h"

namespace lumora::jet {

class Database {
 public:
  // Opens the file at `path` (program-style, GBK). Only read access exists so far, so
  // `read_only` false is refused. Empty when the file is missing, not a Jet 4 database, or
  // its catalog cannot be read.
  static std::optional<Database> Open(const Text& path, bool read_only = true);
  // The same over any source of file bytes.
  static std::optional<Database> Open(std::unique_ptr<PageSource> source);

  const FormatInfo& Info() const { return info_; }

  // Names (GBK) of the user tables, in catalog order; system tables are left out.
  std::vector<Text> TableNames() const;
  // Every catalog row, system objects included.
  const std::vector<CatalogEntry>& Catalog() const { return catalog_; }

  // The table named `name` (GBK, case-insensitive), system tables included; empty when there is
  // none or its definition is damaged.
  std::optional<TableReader> OpenTable(const Text& name) const;

 private:
  Database(FormatInfo info, std::shared_ptr<const Pager> pager, std::vector<CatalogEntry> catalog)
      : info_(info), pager_(std::move(pager)), catalog_(std::move(catalog)) {}

  FormatInfo info_;
  std::shared_ptr<const Pager> pager_;
  std::vector<CatalogEntry> catalog_;
};

}  // namespace lumora::jet
