#include "services/sql/store_engine.h"

#include "services/sql/statement_runner.h"
#include "services/sql/static_record_set.h"

namespace lumora::services::sql {

StoreEngine::StoreEngine(StoreOpener opener) {
  if (opener) {
    opener_ = [opener = std::move(opener)](const ConnectionRequest& request, StorageReport&) {
      return opener(request);
    };
  }
}

bool StoreEngine::Open(const ConnectionRequest& request) {
  // The file is let go of before it is opened again (a writer holds a lock on it).
  store_.reset();
  open_report_ = {};
  store_ = opener_ ? opener_(request, open_report_) : nullptr;
  return store_ != nullptr;
}

bool StoreEngine::Execute(const Text& sql, std::optional<int> /*timeout*/) {
  return store_ != nullptr && RunStatement(*store_, sql);
}

std::unique_ptr<EngineRecordSet> StoreEngine::NewRecordSet() {
  if (!store_) {
    return nullptr;
  }
  return std::make_unique<StaticRecordSet>(store_);
}

}  // namespace lumora::services::sql
