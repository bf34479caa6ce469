#include "catalogue/server_edit.h"

#include <string>

namespace lumora::catalogue {
namespace {

using services::RecordSet;

ServerRecord RecordFromFields(const ServerFields& fields, const Text& domain) {
  return {.server_name = fields.address,
          .port = fields.port,
          .user_name = fields.user,
          .password = fields.password,
          .domain = domain,
          .remark = fields.remark};
}

// Takes out the rows named `name` after an add that failed part-way. The add ran only because no
// row had that name, so every such row is a remnant of it.
void RemoveRemnantsOfAdd(RecordSet& records, const Text& name) {
  Text removed;
  while (const std::optional<ServerRecord> remnant = FindServer(records, name)) {
    if (remnant->record_number.empty() || remnant->record_number == removed ||
        !records.Open("delete from Server where 编号=" + remnant->record_number,
                      RecordSet::kSourceText)) {
      return;
    }
    removed = remnant->record_number;
  }
}

}  // namespace

Text DeleteQuestion(int count) {
  return "确定要删除选中的" + std::to_string(count) + "个服务器？";
}

ServerFields CleanFields(const ServerFields& typed) {
  return {.address = RemoveBlanks(typed.address),
          .port = RemoveBlanks(typed.port),
          .user = RemoveBlanks(typed.user),
          .password = RemoveBlanks(typed.password),
          .remark = typed.remark};
}

Text FieldProblem(const ServerFields& cleaned) {
  if (cleaned.address.empty()) {
    return edit_text::kAddressEmpty;
  }
  if (cleaned.address.find('.') == Text::npos) {
    return edit_text::kAddressWithoutDot;
  }
  if (cleaned.port.empty()) {
    return edit_text::kPortEmpty;
  }
  if (cleaned.user.empty()) {
    return edit_text::kUserEmpty;
  }
  return {};
}

std::optional<ServerRecord> FindServer(RecordSet& records, const Text& name) {
  if (!SelectServer(records, name)) {
    return std::nullopt;
  }
  const int count = records.RecordCount();
  for (int index = 0; index < count; ++index, records.MoveNext()) {
    ServerRecord server;
    records.GetFieldText(kColumnServerName, server.server_name);
    if (server.server_name != name) {
      continue;
    }
    records.GetFieldText(kColumnPort, server.port);
    records.GetFieldText(kColumnUserName, server.user_name);
    records.GetFieldText(kColumnPassword, server.password);
    records.GetFieldText(kColumnDomain, server.domain);
    records.GetFieldText(kColumnRemark, server.remark);
    records.GetFieldText(kColumnNumber, server.record_number);
    return server;
  }
  return std::nullopt;
}

EditOutcome AddServerFromFields(RecordSet& records, const ServerFields& typed) {
  const ServerFields fields = CleanFields(typed);
  // The record set stands on the typed server before any check, as after every save.
  SelectServer(records, fields.address);
  if (Text problem = FieldProblem(fields); !problem.empty()) {
    return {EditResult::kInvalid, std::move(problem)};
  }
  if (FindServer(records, fields.address)) {
    return {EditResult::kDuplicate, edit_text::kDuplicate};
  }
  const bool written = AddServer(records, RecordFromFields(fields, ""));
  // The new row reaches the table when the record set moves on; reading it back does that.
  if (FindServer(records, fields.address) && written) {
    return {EditResult::kAdded, edit_text::kAdded};
  }
  RemoveRemnantsOfAdd(records, fields.address);
  return {EditResult::kAddFailed, edit_text::kAddFailed};
}

EditOutcome ModifyServerFromFields(RecordSet& records, const Text& currentName,
                                   const ServerFields& typed, const Text& domain) {
  const ServerFields fields = CleanFields(typed);
  SelectServer(records, fields.address);
  if (Text problem = FieldProblem(fields); !problem.empty()) {
    return {EditResult::kInvalid, std::move(problem)};
  }
  ServerRecord server = RecordFromFields(fields, domain);
  if (const std::optional<ServerRecord> current = FindServer(records, currentName)) {
    server.record_number = current->record_number;
  }
  if (!UpdateServer(records, server)) {
    return {EditResult::kModifyFailed, edit_text::kModifyFailed};
  }
  return {EditResult::kModified, edit_text::kModified};
}

DeleteOutcome DeleteServersNamed(services::DBConnection& connection, std::span<const Text> names,
                                 const std::function<void()>& between) {
  DeleteOutcome outcome;
  for (const Text& name : names) {
    if (!DeleteServers(connection, name)) {
      return outcome;
    }
    ++outcome.deleted;
    if (between) {
      between();
    }
  }
  outcome.complete = true;
  return outcome;
}

}  // namespace lumora::catalogue
