#include "services/db_connection.h"

#include "services/jet_engine.h"
#ifdef _WIN32
#include "services/ado/ado_engine.h"
#endif

namespace lumora::services {
namespace {

std::vector<std::unique_ptr<DatabaseEngine>> SystemEngines() {
  std::vector<std::unique_ptr<DatabaseEngine>> engines;
#ifdef _WIN32
  engines.push_back(ado::MakeAdoEngine());
#endif
  engines.push_back(MakeJetEngine());
  return engines;
}

}  // namespace

Text AccessConnectionString(const Text& path, const Text& password) {
  Text text = "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=" + path;
  if (!password.empty()) {
    text += ";Jet OLEDB:Database Password=" + password + ";";
  }
  return text;
}

DBConnection::DBConnection() : DBConnection(SystemEngines()) {}

DBConnection::DBConnection(std::vector<std::unique_ptr<DatabaseEngine>> engines)
    : engines_(std::move(engines)) {
  std::erase(engines_, nullptr);
}

DBConnection::~DBConnection() = default;

bool DBConnection::OpenAccess(const Text& path, const Text& password) {
  return OpenWithFirstEngine({AccessConnectionString(path, password), path, password});
}

bool DBConnection::OpenConnectionString(const Text& connection_string) {
  return OpenWithFirstEngine({connection_string, "", ""});
}

bool DBConnection::OpenWithFirstEngine(const ConnectionRequest& request) {
  connection_string_ = request.connection_string;
  if (active_ != nullptr) {
    active_->Close();
    active_ = nullptr;
  }
  failed_report_ = {};
  for (const std::unique_ptr<DatabaseEngine>& engine : engines_) {
    if (engine->Open(request)) {
      active_ = engine.get();
      ++open_count_;
      return true;
    }
    const StorageReport report = engine->Report();
    if (failed_report_.error == platform::FileError::kNone) {
      failed_report_.error = report.error;
    }
    if (failed_report_.journal_set_aside.empty()) {
      failed_report_.journal_set_aside = report.journal_set_aside;
    }
    failed_report_.journal_stuck = failed_report_.journal_stuck || report.journal_stuck;
  }
  return false;
}

bool DBConnection::Execute(const Text& sql, std::optional<int> timeout) {
  return active_ != nullptr && active_->Execute(sql, timeout);
}

}  // namespace lumora::services
