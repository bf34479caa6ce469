// The program's one record set: opens a table or a SELECT over the bound connection, reads
// fields of the current record as text, adds rows and steps forward. Each open replaces the
// previous result. Failures are reported as false only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "base/text.h"
#include "services/database_engine.h"
#include "services/db_connection.h"

namespace lumora::services {

class RecordSet {
 public:
  // Kinds of source for Open.
  static constexpr int kSourceText = 1;
  static constexpr int kSourceTable = 2;
  // Cursor locations: 1 none, 2 server, 3 client.
  static constexpr int kClientCursor = 3;

  RecordSet() = default;
  ~RecordSet();
  RecordSet(const RecordSet&) = delete;
  RecordSet& operator=(const RecordSet&) = delete;

  // Binds all later opens to `connection` (not owned; it must outlive the record set's use).
  bool SetConnection(DBConnection& connection);

  // Opens `source`: SQL text (kind 1) or a table name (kind 2). A cursor location outside 1..3
  // gives false without touching anything; without one the client cursor is used. A table name
  // is remembered; other sources forget it. An UPDATE opened this way gives whether it ran.
  bool Open(const Text& source, int kind, std::optional<int> cursor_location = std::nullopt);
  // Opens "select * from <table> where <condition>", both put in unchanged.
  bool OpenWhere(const Text& table, const Text& condition);

  // Rows of the open result; 0 when none is open.
  int RecordCount() const;
  bool AddNew();
  // Drops the row that AddNew or SetFieldText left pending: none of it reaches the table.
  void CancelUpdate();
  // A non-empty text is written as text, the empty text as Null.
  bool SetFieldText(const Text& field, const Text& value);
  // The field of the current record as text (Null reads as the empty text). False with the
  // empty text when nothing is open, the record set is at its end, or there is no such field.
  bool GetFieldText(const Text& field, Text& value);
  bool MoveNext();

  // The table of the last open whose source was a table name; empty otherwise.
  const Text& TableName() const { return table_name_; }
  bool IsOpen() const { return records_ != nullptr && records_->IsOpen(); }

 private:
  // The engine record set of the connection's current engine, made when first needed; null
  // when the connection is not open.
  EngineRecordSet* Records();
  bool CloseAndOpen(const Text& source, int kind, std::optional<int> cursor_location);

  DBConnection* connection_ = nullptr;
  std::unique_ptr<EngineRecordSet> records_;
  std::uint64_t records_open_count_ = 0;
  Text table_name_;
};

// The SQL text OpenWhere opens.
Text SelectWhereText(const Text& table, const Text& condition);

}  // namespace lumora::services
