// Engines for the database layer's tests: a fake that records every call, and the built-in
// engine over tables in memory.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "services/database_engine.h"
#include "services/db_connection.h"
#include "services/sql/memory_table_store.h"
#include "services/sql/store_engine.h"

namespace lumora::services::testing {

// Every call as one line of text, shared by an engine and its record sets.
using CallLog = std::shared_ptr<std::vector<std::string>>;

class RecordingRecordSet : public EngineRecordSet {
 public:
  explicit RecordingRecordSet(CallLog log) : log_(std::move(log)) {}

  void Close() override { log_->push_back("close"); }
  bool Open(const Text& source, int kind, std::optional<int> cursor_location) override {
    log_->push_back("open " + source + " kind " + std::to_string(kind) + " cursor " +
                    (cursor_location ? std::to_string(*cursor_location) : "untouched"));
    open_ = true;
    return true;
  }
  bool IsOpen() const override { return open_; }
  int RecordCount() const override { return 0; }
  bool AddNew() override {
    log_->push_back("addnew");
    return true;
  }
  void CancelPending() override { log_->push_back("cancel"); }
  bool SetField(const Text& field, const std::optional<Text>& value) override {
    log_->push_back("set " + field + " " + (value ? "'" + *value + "'" : "Null"));
    return true;
  }
  bool GetFieldText(const Text& field, Text& value) override {
    log_->push_back("get " + field);
    value = "value of " + field;
    return true;
  }
  bool MoveNext() override {
    log_->push_back("movenext");
    return true;
  }

 private:
  CallLog log_;
  bool open_ = false;
};

class RecordingEngine : public DatabaseEngine {
 public:
  RecordingEngine(std::string name, bool opens, CallLog log)
      : name_(std::move(name)), opens_(opens), log_(std::move(log)) {}

  bool Open(const ConnectionRequest& request) override {
    log_->push_back(name_ + " open " + request.connection_string);
    open_ = opens_;
    return opens_;
  }
  bool IsOpen() const override { return open_; }
  void Close() override {
    log_->push_back(name_ + " close");
    open_ = false;
  }
  bool Execute(const Text& sql, std::optional<int> timeout) override {
    log_->push_back(name_ + " execute " + sql +
                    (timeout ? " timeout " + std::to_string(*timeout) : ""));
    return true;
  }
  std::unique_ptr<EngineRecordSet> NewRecordSet() override {
    log_->push_back(name_ + " recordset");
    return std::make_unique<RecordingRecordSet>(log_);
  }

 private:
  std::string name_;
  bool opens_;
  CallLog log_;
  bool open_ = false;
};

inline std::unique_ptr<DatabaseEngine> MemoryEngine(std::shared_ptr<sql::MemoryTableStore> store) {
  return std::make_unique<sql::StoreEngine>(
      [store](const ConnectionRequest&) -> std::shared_ptr<sql::TableStore> { return store; });
}

// A connection over the built-in engine and `store`, already opened.
inline std::unique_ptr<DBConnection> OpenMemoryConnection(
    std::shared_ptr<sql::MemoryTableStore> store) {
  std::vector<std::unique_ptr<DatabaseEngine>> engines;
  engines.push_back(MemoryEngine(std::move(store)));
  auto connection = std::make_unique<DBConnection>(std::move(engines));
  connection->OpenAccess("memory.mdb", "");
  return connection;
}

inline sql::StoredColumn TextColumn(const char* name, std::uint16_t characters = 50) {
  return {.name = name,
          .type = values::ColumnType::kText,
          .length = static_cast<std::uint16_t>(characters * 2)};
}

inline sql::StoredColumn LongColumn(const char* name, bool auto_number = false) {
  return {.name = name,
          .type = values::ColumnType::kLong,
          .length = 4,
          .nullable = !auto_number,
          .auto_number = auto_number};
}

}  // namespace lumora::services::testing
