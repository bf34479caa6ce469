// The built-in engine: the SQL the program issues, run over a table store that an opener makes
// from the connection request (the Access file itself, or memory in tests).
#pragma once

#include <functional>
#include <memory>

#include "services/database_engine.h"
#include "services/sql/table_store.h"

namespace lumora::services::sql {

using StoreOpener = std::function<std::shared_ptr<TableStore>(const ConnectionRequest&)>;
// An opener that also says what it met, the open failing or not.
using ReportingStoreOpener =
    std::function<std::shared_ptr<TableStore>(const ConnectionRequest&, StorageReport&)>;

class StoreEngine : public DatabaseEngine {
 public:
  explicit StoreEngine(StoreOpener opener);
  explicit StoreEngine(ReportingStoreOpener opener) : opener_(std::move(opener)) {}

  bool Open(const ConnectionRequest& request) override;
  bool IsOpen() const override { return store_ != nullptr; }
  void Close() override { store_.reset(); }
  bool ReadOnly() const override { return store_ != nullptr && !store_->Writable(); }
  bool Damaged() const override { return store_ != nullptr && store_->Damaged(); }
  bool CanStoreRows() const override { return store_ != nullptr && store_->CanStoreRows(); }
  std::optional<std::size_t> StoreRows(const Text& table, bool replace,
                                       const RowSource& next) override {
    return store_ ? store_->StoreRows(table, replace, next) : std::nullopt;
  }
  StorageReport Report() const override { return store_ ? store_->Report() : open_report_; }
  // The timeout means nothing to a store in the same process.
  bool Execute(const Text& sql, std::optional<int> timeout) override;
  std::unique_ptr<EngineRecordSet> NewRecordSet() override;

 private:
  ReportingStoreOpener opener_;
  std::shared_ptr<TableStore> store_;
  StorageReport open_report_;
};

}  // namespace lumora::services::sql
