#include "services/ado/ado_record_set.h"

#include "platform/win32/com.h"
#include "services/ado/variant_text.h"

namespace lumora::services::ado {
namespace {

constexpr LONG kStaticCursor = 3;
constexpr LONG kOptimisticLock = 3;
constexpr LONG kStateOpen = 1;
constexpr LONG kEditNone = 0;

}  // namespace

AdoRecordSet::AdoRecordSet(ComRef<IDispatch> connection)
    : connection_(std::move(connection)), records_(CreateObject(L"ADODB.Recordset")) {}

AdoRecordSet::~AdoRecordSet() {
  Close();
  records_.reset();
  connection_.reset();
}

bool AdoRecordSet::IsOpen() const {
  LONG state = 0;
  return records_ && GetLongProperty(records_.get(), L"State", state) && (state & kStateOpen) != 0;
}

void AdoRecordSet::Close() {
  if (!IsOpen()) {
    return;
  }
  // A pending row that the provider refuses is dropped: left pending, it would make every later
  // Close and Open of this record set fail for the rest of the run.
  if (HasPendingRow() && !CallMethod(records_.get(), L"Update", {})) {
    CancelPending();
  }
  PutProperty(records_.get(), L"Filter", UniqueVariant::String(""));
  CallMethod(records_.get(), L"Close", {});
}

bool AdoRecordSet::Open(const Text& source, int kind, std::optional<int> cursor_location) {
  // Over a connection that is not open, Wine's ADO crashes instead of failing the call.
  LONG connection_state = 0;
  if (!records_ || !connection_ ||
      !GetLongProperty(connection_.get(), L"State", connection_state) ||
      (connection_state & kStateOpen) == 0) {
    return false;
  }
  if (cursor_location &&
      !PutProperty(records_.get(), L"CursorLocation", UniqueVariant::Int(*cursor_location))) {
    return false;
  }
  const UniqueVariant text = UniqueVariant::String(source);
  const UniqueVariant connection = UniqueVariant::Object(connection_.get());
  const UniqueVariant cursor_type = UniqueVariant::Int(kStaticCursor);
  const UniqueVariant lock_type = UniqueVariant::Int(kOptimisticLock);
  const UniqueVariant options = UniqueVariant::Int(kind);
  return CallMethod(records_.get(), L"Open",
                    {&text, &connection, &cursor_type, &lock_type, &options});
}

int AdoRecordSet::RecordCount() const {
  LONG count = 0;
  if (!IsOpen() || !GetLongProperty(records_.get(), L"RecordCount", count)) {
    return 0;
  }
  return static_cast<int>(count);
}

bool AdoRecordSet::AddNew() {
  return IsOpen() && CallMethod(records_.get(), L"AddNew", {});
}

bool AdoRecordSet::HasPendingRow() const {
  LONG edit_mode = kEditNone;
  return IsOpen() && GetLongProperty(records_.get(), L"EditMode", edit_mode) &&
         edit_mode != kEditNone;
}

void AdoRecordSet::CancelPending() {
  if (HasPendingRow()) {
    CallMethod(records_.get(), L"CancelUpdate", {});
  }
}

bool AdoRecordSet::SetField(const Text& field, const std::optional<Text>& value) {
  if (!IsOpen()) {
    return false;
  }
  const UniqueVariant name = UniqueVariant::String(field);
  return PutProperty(records_.get(), L"Collect",
                     value ? UniqueVariant::String(*value) : UniqueVariant::Null(), {&name});
}

bool AdoRecordSet::GetFieldText(const Text& field, Text& value) {
  value.clear();
  if (!IsOpen() || AtEnd()) {
    return false;
  }
  const UniqueVariant name = UniqueVariant::String(field);
  UniqueVariant read;
  if (!GetProperty(records_.get(), L"Collect", read, {&name})) {
    return false;
  }
  value = VariantText(read.get());
  return true;
}

bool AdoRecordSet::MoveNext() {
  return IsOpen() && CallMethod(records_.get(), L"MoveNext", {});
}

bool AdoRecordSet::AtEnd() const {
  UniqueVariant end;
  if (!GetProperty(records_.get(), L"EOF", end)) {
    return true;
  }
  return end.get().vt != VT_BOOL || end.get().boolVal != VARIANT_FALSE;
}

}  // namespace lumora::services::ado
