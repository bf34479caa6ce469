// A Jet 4 (Access 2000-2003) database file: its tables by name and their rows, and, for a file
// opened for writing, row inserts, updates and deletes that keep every index, usage map and
// counter in step. Failures give false or an empty result, never an exception.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "base/text.h"
#include "services/jet/catalog.h"
#include "services/jet/consistency_check.h"
#include "services/jet/failure.h"
#include "services/jet/header.h"
#include "services/jet/pager.h"
#include "services/jet/table_reader.h"
#include "services/jet/table_writer.h"

namespace lumora::jet {

// Column name (GBK) and value: GBK text, decimal text for numeric columns, or Null.
using RowValues = std::vector<std::pair<Text, std::optional<Text>>>;

class Database {
 public:
  // Opens the file at `path` (program-style, GBK). With `read_only` false the file is opened
  // for writing and locked against other writers until the Database is destroyed. Empty when
  // the file is missing, not a Jet 4 database, or its catalog cannot be read; for writing also
  // when another program writes it, the file is encrypted or its size is not whole pages.
  // A reader reads the file as it stands between changes (see OpenSnapshotSource). `report`, when
  // given, learns why the open failed and what became of a journal beside the file.
  static std::optional<Database> Open(const Text& path, bool read_only = true,
                                      OpenReport* report = nullptr);
  // The same over any source of file bytes; writable when the source is.
  static std::optional<Database> Open(std::unique_ptr<PageSource> source);

  // Creates a new, empty database at `path` (which must not exist) holding the table
  // "Server": AutoNumber primary key "编号" and six Text(255) columns. The file is built under a
  // name of its own and takes `path` only when it is whole, `fill` (given the name it is built
  // under) having added what it holds; of two creates of one path one succeeds. A journal found
  // beside `path` belongs to no file there: it is set aside, and `report` learns its new name.
  // False when the file exists or cannot be written, or `fill` fails.
  static bool Create(const Text& path,
                     const std::function<bool(const Text& building)>& fill = nullptr,
                     OpenReport* report = nullptr);

  bool Writable() const { return writer_ != nullptr; }

  // Adds a row to `table`; columns not named are Null. The AutoNumber column is assigned here
  // (naming it is refused) and reported through `autoNumber`. False, with nothing changed,
  // when the file is read-only, a value does not fit its column, a unique key would repeat,
  // or the table has an index this engine cannot maintain.
  bool InsertRow(const Text& table, const RowValues& values, std::int32_t* autoNumber = nullptr);
  // Changes the named columns of the row `row` (from Row::id); the row keeps its id.
  bool UpdateRow(const Text& table, RowId row, const RowValues& changes);
  bool DeleteRow(const Text& table, RowId row);

  // One change made of many writes: the inserts, updates and deletes between BeginChange and
  // CommitChange reach the file all of them or none (a kill or power cut on the way included).
  // Once one of them fails the change is spoilt: CommitChange then fails too and, like
  // AbandonChange, leaves the file as it was before BeginChange. False when the file is not open
  // for writing or a change is open already.
  bool BeginChange();
  bool CommitChange();
  void AbandonChange();

  // Adds every row `next` gives (columns by name, as for InsertRow) to `table` in one go; see
  // InsertManyValues. How many; empty when one is refused, the source abandons them or a write
  // fails, with nothing changed (inside an open change: the change spoilt).
  std::optional<std::size_t> InsertRows(const Text& table,
                                        const std::function<RowSupply(RowValues&)>& next);
  // Deletes every row of `table`.
  bool DeleteAllRows(const Text& table);

  // Why the last write or change failed, as far as the system said: a full disk, a file that
  // turned read-only...; kNone when it succeeded or was refused for its values.
  platform::FileError LastWriteError() const { return last_write_error_; }
  // The check that refused the last write or change (BeginChange to CommitChange), and where it
  // stands; none when it succeeded.
  const Failure& LastFailure() const { return last_failure_; }

  // Row counts against rows, usage maps against pages, indexes against rows.
  CheckReport Check() const;

  const FormatInfo& Info() const { return info_; }

  // Names (GBK) of the user tables, in catalog order; system tables are left out.
  std::vector<Text> TableNames() const;
  // Every catalog row, system objects included.
  const std::vector<CatalogEntry>& Catalog() const { return catalog_; }

  // The table named `name` (GBK, case-insensitive), system tables included; empty when there is
  // none or its definition is damaged.
  std::optional<TableReader> OpenTable(const Text& name) const;

 private:
  Database(FormatInfo info, std::shared_ptr<Pager> pager, std::vector<CatalogEntry> catalog,
           bool writable)
      : info_(info),
        pager_(pager),
        writer_(writable ? std::move(pager) : nullptr),
        catalog_(std::move(catalog)) {}

  // The values of a row of `table` from program texts; empty when one does not fit.
  std::optional<std::vector<std::optional<Value>>> ColumnValues(const TableReader& table,
                                                                const RowValues& values) const;
  // A new row of `table`: the values given, Null for the rest; empty when one does not fit or
  // the AutoNumber column is given one.
  std::optional<std::vector<Value>> InsertedValues(const TableReader& table,
                                                   const RowValues& values) const;

  // Create, once the path is known to be free; false (the reason recorded) when it fails.
  static bool CreateNew(const Text& path, const std::function<bool(const Text& building)>& fill,
                        OpenReport* report);

  FormatInfo info_;
  std::shared_ptr<const Pager> pager_;
  // The same pager when the file is open for writing.
  std::shared_ptr<Pager> writer_;
  std::vector<CatalogEntry> catalog_;
  // Inside BeginChange and CommitChange; whether a write in it failed.
  bool in_change_ = false;
  bool change_spoilt_ = false;
  // What spoilt the open change: every later write of it and its commit are refused with it.
  Failure spoilt_by_;
  platform::FileError last_write_error_ = platform::FileError::kNone;
  Failure last_failure_;

  // Runs one of the public writes, keeping the reason its refusal records as LastFailure.
  template <typename Operation>
  auto Reported(const Operation& operation) -> decltype(operation());

  // Runs `write` as one change of its own, or as part of the open one.
  bool AsOneChange(const std::function<bool()>& write);
  // The table for a write: open for writing, not a system table.
  std::optional<TableReader> WritableTable(const Text& table) const;
};

}  // namespace lumora::jet
