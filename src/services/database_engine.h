// The seam under DBConnection and RecordSet: an engine opens an Access file and hands out
// record sets over it. Two engines exist: ADO with the Jet OLE DB provider (Windows) and the
// built-in one; tests add fakes.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "base/text.h"
#include "services/storage_report.h"
#include "services/values/row_supply.h"

namespace lumora::services {

// What OpenAccess was asked for: the connection string built from path and password, and the
// two pieces themselves for an engine that does not read connection strings.
struct ConnectionRequest {
  Text connection_string;
  Text path;
  Text password;
};

// One record set object of an engine. Every operation reports failure as false (or 0) and
// swallows the engine's own errors.
class EngineRecordSet {
 public:
  virtual ~EngineRecordSet() = default;

  // Step 3 of an open: clears any filter and closes the record set when it is open; a pending
  // new or edited row is stored first. Errors are swallowed.
  virtual void Close() = 0;
  // Opens `source` (kind 1 = SQL text, 2 = table name) with a static cursor and optimistic
  // locking. `cursor_location` is set on the record set first when given.
  virtual bool Open(const Text& source, int kind, std::optional<int> cursor_location) = 0;

  virtual bool IsOpen() const = 0;
  // Rows of the open result; 0 when none is open.
  virtual int RecordCount() const = 0;
  virtual bool AddNew() = 0;
  // Drops the pending new or edited row, so that no later step stores it.
  virtual void CancelPending() = 0;
  // Writes `value` into the named field of the current record; nullopt writes Null.
  virtual bool SetField(const Text& field, const std::optional<Text>& value) = 0;
  // Reads the named field of the current record as text; false when the record set is not
  // open, at its end, or has no such field.
  virtual bool GetFieldText(const Text& field, Text& value) = 0;
  virtual bool MoveNext() = 0;
};

// Column names and values (nullopt: Null) of one row, and a source of such rows for a bulk
// write; the source says when they end, or that none of them may be stored.
using FieldValues = std::vector<std::pair<Text, std::optional<Text>>>;
using RowSource = std::function<values::RowSupply(FieldValues& row)>;

// One database connection of an engine.
class DatabaseEngine {
 public:
  virtual ~DatabaseEngine() = default;

  // Opens the database; false when this engine cannot (the caller may then try another one).
  virtual bool Open(const ConnectionRequest& request) = 0;
  virtual bool IsOpen() const = 0;
  // True when the open database refuses every change (another program writes it, or it could
  // only be opened for reading). An engine that cannot tell says false.
  virtual bool ReadOnly() const { return false; }
  // True when the open database's own bookkeeping is damaged (a file cut short, pages that point
  // nowhere): what it shows would be only part of it. An engine that cannot tell says false.
  virtual bool Damaged() const { return false; }
  // What the last open (also one that failed) or change met; an engine that cannot tell says
  // nothing.
  virtual StorageReport Report() const { return {}; }
  virtual void Close() = 0;
  // Runs one statement; `timeout` (seconds) replaces the command timeout for this statement only.
  virtual bool Execute(const Text& sql, std::optional<int> timeout) = 0;
  // Stores every row `next` gives in `table` as one change, after deleting every stored row when
  // `replace`: all of it reaches the file, or none. How many rows; empty when the change failed
  // or was abandoned. Only an engine for which CanStoreRows says so.
  virtual bool CanStoreRows() const { return false; }
  virtual std::optional<std::size_t> StoreRows(const Text& /*table*/, bool /*replace*/,
                                               const RowSource& /*next*/) {
    return std::nullopt;
  }
  // The other engines make many statements one change as a transaction; false when they cannot.
  virtual bool BeginTransaction() { return false; }
  virtual bool CommitTransaction() { return false; }
  virtual void RollbackTransaction() {}
  // A new, closed record set bound to this connection; empty when the engine cannot make one.
  virtual std::unique_ptr<EngineRecordSet> NewRecordSet() = 0;
};

}  // namespace lumora::services
