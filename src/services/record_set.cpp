#include "services/record_set.h"

namespace lumora::services {

Text SelectWhereText(const Text& table, const Text& condition) {
  return "select * from " + table + " where " + condition;
}

RecordSet::~RecordSet() = default;

bool RecordSet::SetConnection(DBConnection& connection) {
  connection_ = &connection;
  return connection.HasEngines();
}

EngineRecordSet* RecordSet::Records() {
  if (connection_ == nullptr || connection_->ActiveEngine() == nullptr) {
    return nullptr;
  }
  // A record set made over an earlier opening of the connection is replaced.
  if (!records_ || records_open_count_ != connection_->OpenCount()) {
    records_.reset();
    records_ = connection_->ActiveEngine()->NewRecordSet();
    records_open_count_ = connection_->OpenCount();
  }
  return records_.get();
}

bool RecordSet::Open(const Text& source, int kind, std::optional<int> cursor_location) {
  if (cursor_location && (*cursor_location < 1 || *cursor_location > 3)) {
    return false;
  }
  std::optional<int> location;
  if (kind == kSourceTable) {
    table_name_ = source;
  } else {
    table_name_.clear();
    location = cursor_location.value_or(kClientCursor);
  }
  return CloseAndOpen(source, kind, location);
}

bool RecordSet::OpenWhere(const Text& table, const Text& condition) {
  table_name_ = table;
  return CloseAndOpen(SelectWhereText(table, condition), kSourceText, kClientCursor);
}

bool RecordSet::CloseAndOpen(const Text& source, int kind, std::optional<int> cursor_location) {
  EngineRecordSet* records = Records();
  if (records == nullptr) {
    return false;
  }
  records->Close();
  return records->Open(source, kind, cursor_location);
}

int RecordSet::RecordCount() const {
  return records_ ? records_->RecordCount() : 0;
}

bool RecordSet::AddNew() {
  return records_ && records_->AddNew();
}

void RecordSet::CancelUpdate() {
  if (records_) {
    records_->CancelPending();
  }
}

bool RecordSet::SetFieldText(const Text& field, const Text& value) {
  if (!records_) {
    return false;
  }
  return records_->SetField(field, value.empty() ? std::nullopt : std::optional<Text>(value));
}

bool RecordSet::GetFieldText(const Text& field, Text& value) {
  value.clear();
  if (!records_ || !records_->GetFieldText(field, value)) {
    value.clear();
    return false;
  }
  return true;
}

bool RecordSet::MoveNext() {
  return records_ && records_->MoveNext();
}

}  // namespace lumora::services
