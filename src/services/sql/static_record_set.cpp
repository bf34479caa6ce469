#include "services/sql/static_record_set.h"

#include "platform/code_page.h"
#include "services/sql/column_value.h"
#include "services/sql/parser.h"
#include "services/sql/statement_runner.h"
#include "services/values/field_text.h"
#include "services/values/name_compare.h"

namespace lumora::services::sql {
namespace {

constexpr int kSourceIsText = 1;
constexpr int kSourceIsTable = 2;

bool SameColumnName(const Text& a, const Text& b) {
  return values::SameName(platform::GbkToWide(a), platform::GbkToWide(b));
}

}  // namespace

StaticRecordSet::StaticRecordSet(std::weak_ptr<TableStore> store) : store_(std::move(store)) {}

StaticRecordSet::~StaticRecordSet() {
  StorePending();
}

void StaticRecordSet::Close() {
  StorePending();
  result_.reset();
  current_ = 0;
}

bool StaticRecordSet::Open(const Text& source, int kind, std::optional<int> /*cursor_location*/) {
  Close();
  const std::shared_ptr<TableStore> store = store_.lock();
  if (!store) {
    return false;
  }
  if (kind == kSourceIsTable) {
    result_ = store->ReadTable(source);
    return result_.has_value();
  }
  if (kind != kSourceIsText) {
    return false;
  }
  const std::optional<Statement> statement = ParseStatement(source);
  if (!statement) {
    return false;
  }
  if (const auto* select = std::get_if<SelectStatement>(&*statement)) {
    result_ = RunSelect(*store, *select);
    return result_.has_value();
  }
  // An action statement leaves no result: the record set stays closed.
  if (const auto* update = std::get_if<UpdateStatement>(&*statement)) {
    return RunUpdate(*store, *update);
  }
  return RunDelete(*store, std::get<DeleteStatement>(*statement));
}

int StaticRecordSet::RecordCount() const {
  return result_ ? static_cast<int>(result_->rows.size()) : 0;
}

bool StaticRecordSet::AddNew() {
  if (!result_ || !StorePending()) {
    return false;
  }
  values::Row row;
  row.values.resize(result_->columns.size());
  result_->rows.push_back(std::move(row));
  current_ = result_->rows.size() - 1;
  pending_ = PendingRow{.is_new = true, .index = current_, .values = {}};
  return true;
}

void StaticRecordSet::CancelPending() {
  if (pending_ && pending_->is_new && result_) {
    result_->rows.pop_back();
    current_ = result_->rows.size();
  }
  pending_.reset();
}

bool StaticRecordSet::SetField(const Text& field, const std::optional<Text>& value) {
  if (AtEnd()) {
    return false;
  }
  const std::optional<std::size_t> column = ColumnOf(field);
  if (!column || !AcceptsValue(result_->columns[*column], value)) {
    return false;
  }
  if (pending_ && pending_->index != current_ && !StorePending()) {
    return false;
  }
  if (!pending_) {
    pending_ = PendingRow{.is_new = false, .index = current_, .values = {}};
  }
  const Text& name = result_->columns[*column].name;
  for (auto& [written, text] : pending_->values) {
    if (SameColumnName(written, name)) {
      text = value;
      return true;
    }
  }
  pending_->values.emplace_back(name, value);
  return true;
}

bool StaticRecordSet::GetFieldText(const Text& field, Text& value) {
  value.clear();
  if (AtEnd()) {
    return false;
  }
  const std::optional<std::size_t> column = ColumnOf(field);
  if (!column) {
    return false;
  }
  if (pending_ && pending_->index == current_) {
    for (const auto& [written, text] : pending_->values) {
      if (SameColumnName(written, result_->columns[*column].name)) {
        value = text.value_or(Text());
        return true;
      }
    }
  }
  value = values::FieldToText(result_->rows[current_].values[*column]);
  return true;
}

bool StaticRecordSet::MoveNext() {
  if (AtEnd()) {
    return false;
  }
  StorePending();
  ++current_;
  return true;
}

std::optional<std::size_t> StaticRecordSet::ColumnOf(const Text& field) const {
  for (std::size_t index = 0; index < result_->columns.size(); ++index) {
    if (SameColumnName(result_->columns[index].name, field)) {
      return index;
    }
  }
  return std::nullopt;
}

bool StaticRecordSet::StorePending() {
  if (!pending_) {
    return true;
  }
  const PendingRow row = std::move(*pending_);
  pending_.reset();
  const std::shared_ptr<TableStore> store = store_.lock();
  if (!result_ || !store) {
    return false;
  }
  if (row.is_new) {
    return store->InsertRow(result_->name, row.values, nullptr);
  }
  return row.values.empty() ||
         store->UpdateRow(result_->name, result_->rows[row.index].id, row.values);
}

}  // namespace lumora::services::sql
