#include "launcher/session_inputs.h"

#include "catalogue/server_store.h"

namespace lumora::launcher {

SessionInputs GatherSessionInputs(services::RecordSet& records, const ServerRowCells& row) {
  SessionInputs inputs{row.host, row.port, row.user, "", row.domain};
  if (!row.record_number.empty()) {
    Text name;
    if (catalogue::SelectServerNumbered(records, row.record_number) &&
        records.GetFieldText(catalogue::kColumnServerName, name) && name == row.host) {
      records.GetFieldText(catalogue::kColumnPassword, inputs.password);
    }
    return inputs;
  }
  catalogue::SelectServer(records, row.host);
  const int found = records.RecordCount();
  for (int index = 0; index < found; ++index) {
    Text name;
    records.GetFieldText(catalogue::kColumnServerName, name);
    if (name == row.host) {
      records.GetFieldText(catalogue::kColumnPassword, inputs.password);
      break;
    }
    records.MoveNext();
  }
  return inputs;
}

}  // namespace lumora::launcher
