// An ADODB.Recordset bound to an ADODB.Connection. Included by the ADO engine's sources only.
#pragma once

#include "platform/win32/com.h"
#include "services/database_engine.h"

namespace lumora::services::ado {

using platform::win32::CallMethod;
using platform::win32::ComApartment;
using platform::win32::ComRef;
using platform::win32::CreateObject;
using platform::win32::GetLongProperty;
using platform::win32::GetProperty;
using platform::win32::PutProperty;
using platform::win32::UniqueVariant;

class AdoRecordSet : public EngineRecordSet {
 public:
  // Creates the record set object; when that fails every operation gives false.
  explicit AdoRecordSet(ComRef<IDispatch> connection);
  ~AdoRecordSet() override;
  AdoRecordSet(const AdoRecordSet&) = delete;
  AdoRecordSet& operator=(const AdoRecordSet&) = delete;

  // A pending new or edited row is stored (Update) before the filter is cleared and the record
  // set closed; a row the provider refuses is cancelled. Errors are swallowed.
  void Close() override;
  bool Open(const Text& source, int kind, std::optional<int> cursor_location) override;
  bool IsOpen() const override;
  int RecordCount() const override;
  bool AddNew() override;
  void CancelPending() override;
  bool SetField(const Text& field, const std::optional<Text>& value) override;
  bool GetFieldText(const Text& field, Text& value) override;
  bool MoveNext() override;

 private:
  bool AtEnd() const;
  bool HasPendingRow() const;

  ComApartment apartment_;
  ComRef<IDispatch> connection_;
  ComRef<IDispatch> records_;
};

}  // namespace lumora::services::ado
