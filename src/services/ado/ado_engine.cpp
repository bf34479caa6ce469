#include "services/ado/ado_engine.h"

#include "platform/win32/com.h"
#include "services/ado/ado_record_set.h"

namespace lumora::services::ado {
namespace {

constexpr LONG kOptionUnspecified = -1;
constexpr LONG kCommandText = 1;
constexpr LONG kStateOpen = 1;

class AdoEngine : public DatabaseEngine {
 public:
  AdoEngine() : connection_(CreateObject(L"ADODB.Connection")) {}
  ~AdoEngine() override {
    Close();
    connection_.reset();
  }
  AdoEngine(const AdoEngine&) = delete;
  AdoEngine& operator=(const AdoEngine&) = delete;

  bool Open(const ConnectionRequest& request) override {
    if (!connection_) {
      return false;
    }
    Close();
    const UniqueVariant text = UniqueVariant::String(request.connection_string);
    const UniqueVariant user = UniqueVariant::String("");
    const UniqueVariant password = UniqueVariant::String("");
    const UniqueVariant options = UniqueVariant::Int(kOptionUnspecified);
    return CallMethod(connection_.get(), L"Open", {&text, &user, &password, &options});
  }

  bool IsOpen() const override {
    LONG state = 0;
    return connection_ && GetLongProperty(connection_.get(), L"State", state) &&
           (state & kStateOpen) != 0;
  }

  void Close() override {
    if (IsOpen()) {
      CallMethod(connection_.get(), L"Close", {});
    }
  }

  bool Execute(const Text& sql, std::optional<int> timeout) override {
    if (!connection_) {
      return false;
    }
    LONG saved_timeout = 0;
    const bool replace_timeout =
        timeout && GetLongProperty(connection_.get(), L"CommandTimeout", saved_timeout) &&
        PutProperty(connection_.get(), L"CommandTimeout", UniqueVariant::Int(*timeout));
    const UniqueVariant text = UniqueVariant::String(sql);
    // Taken by reference, as the method declares it: Wine's ADO fails a call that leaves it out
    // as "missing" with a type mismatch after the statement has run.
    UniqueVariant affected;
    const UniqueVariant records_affected = UniqueVariant::Reference(affected.put());
    const UniqueVariant options = UniqueVariant::Int(kCommandText);
    UniqueVariant result;
    const bool ran =
        CallMethod(connection_.get(), L"Execute", {&text, &records_affected, &options}, &result) &&
        result.get().vt == VT_DISPATCH && result.get().pdispVal != nullptr;
    if (replace_timeout) {
      PutProperty(connection_.get(), L"CommandTimeout", UniqueVariant::Int(saved_timeout));
    }
    return ran;
  }

  bool BeginTransaction() override {
    UniqueVariant level;
    return connection_ && CallMethod(connection_.get(), L"BeginTrans", {}, &level);
  }
  bool CommitTransaction() override {
    return connection_ && CallMethod(connection_.get(), L"CommitTrans", {});
  }
  void RollbackTransaction() override {
    if (connection_) {
      CallMethod(connection_.get(), L"RollbackTrans", {});
    }
  }

  std::unique_ptr<EngineRecordSet> NewRecordSet() override {
    if (!connection_) {
      return nullptr;
    }
    return std::make_unique<AdoRecordSet>(connection_);
  }

 private:
  // Declared first: the apartment outlives the objects made in it.
  ComApartment apartment_;
  ComRef<IDispatch> connection_;
};

}  // namespace

std::unique_ptr<DatabaseEngine> MakeAdoEngine() {
  return std::make_unique<AdoEngine>();
}

}  // namespace lumora::services::ado
