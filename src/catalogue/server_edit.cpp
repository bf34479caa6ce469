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

// Every column of the current record.
ServerRecord ReadServerRecord(RecordSet& records) {
  ServerRecord server;
  records.GetFieldText(kColumnServerName, server.server_name);
  records.GetFieldText(kColumnPort, server.port);
  records.GetFieldText(kColumnUserName, server.user_name);
  records.GetFieldText(kColumnPassword, server.password);
  records.GetFieldText(kColumnDomain, server.domain);
  records.GetFieldText(kColumnRemark, server.remark);
  records.GetFieldText(kColumnNumber, server.record_number);
  return server;
}

// The first field too long for its column, as the tip that names it.
Text LengthProblem(const ServerFields& cleaned) {
  const std::pair<const Text*, const char*> fields[] = {
      {&cleaned.address, edit_text::kAddressTooLong},
      {&cleaned.user, edit_text::kUserTooLong},
      {&cleaned.password, edit_text::kPasswordTooLong},
      {&cleaned.remark, edit_text::kRemarkTooLong}};
  for (const auto& [value, tip] : fields) {
    if (GbkCharCount(*value) > kTextColumnCharacters) {
      return tip;
    }
  }
  return {};
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
  // A port or a network mask has no place in the address: no session could reach it, and the
  // address names the session file, where ':' and '/' cannot stand.
  if (cleaned.address.find_first_of(":/") != Text::npos) {
    return edit_text::kAddressWithPort;
  }
  if (cleaned.address.find('.') == Text::npos) {
    return edit_text::kAddressWithoutDot;
  }
  if (cleaned.port.empty()) {
    return edit_text::kPortEmpty;
  }
  if (!IsValidPort(cleaned.port)) {
    return edit_text::kPortNotANumber;
  }
  if (cleaned.user.empty()) {
    return edit_text::kUserEmpty;
  }
  return LengthProblem(cleaned);
}

bool IsValidPort(const Text& port) {
  if (!IsRecordNumber(port)) {
    return false;
  }
  unsigned long value = 0;
  for (const char digit : port) {
    value = value * 10 + static_cast<unsigned long>(digit - '0');
    if (value > 65535) {
      return false;
    }
  }
  return value >= 1;
}

std::optional<ServerRecord> FindServer(RecordSet& records, const Text& name) {
  if (!SelectServer(records, name)) {
    return std::nullopt;
  }
  const int count = records.RecordCount();
  for (int index = 0; index < count; ++index, records.MoveNext()) {
    Text found;
    records.GetFieldText(kColumnServerName, found);
    if (found == name) {
      return ReadServerRecord(records);
    }
  }
  return std::nullopt;
}

bool OtherServerNamedAlike(RecordSet& records, const Text& name, const Text& except) {
  if (!SelectServer(records, name)) {
    return false;
  }
  const int count = records.RecordCount();
  for (int index = 0; index < count; ++index, records.MoveNext()) {
    Text number;
    records.GetFieldText(kColumnNumber, number);
    if (except.empty() || number != except) {
      return true;
    }
  }
  return false;
}

std::optional<ServerRecord> FindServerNumbered(RecordSet& records, const Text& number) {
  if (!SelectServerNumbered(records, number)) {
    return std::nullopt;
  }
  return ReadServerRecord(records);
}

std::vector<Text> ServerNumbersNamed(RecordSet& records, const Text& name) {
  std::vector<Text> numbers;
  if (!SelectServer(records, name)) {
    return numbers;
  }
  const int count = records.RecordCount();
  for (int index = 0; index < count; ++index, records.MoveNext()) {
    Text found;
    records.GetFieldText(kColumnServerName, found);
    if (found == name) {
      records.GetFieldText(kColumnNumber, numbers.emplace_back());
    }
  }
  return numbers;
}

EditOutcome AddServerFromFields(RecordSet& records, const ServerFields& typed) {
  const ServerFields fields = CleanFields(typed);
  // The record set stands on the typed server before any check, as after every save.
  SelectServer(records, fields.address);
  if (Text problem = FieldProblem(fields); !problem.empty()) {
    return {EditResult::kInvalid, std::move(problem)};
  }
  if (OtherServerNamedAlike(records, fields.address)) {
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

EditOutcome ModifyServerFromFields(RecordSet& records, const Text& recordNumber,
                                   const ServerFields& typed, const Text& domain) {
  const ServerFields fields = CleanFields(typed);
  SelectServer(records, fields.address);
  if (Text problem = FieldProblem(fields); !problem.empty()) {
    return {EditResult::kInvalid, std::move(problem)};
  }
  const std::optional<ServerRecord> current = FindServerNumbered(records, recordNumber);
  if (!current) {
    return {EditResult::kModifyFailed, edit_text::kModifyFailed};
  }
  // A rename onto another row's name would leave two rows that no name tells apart. Rows stored
  // as letter-case twins before keep their names when modified.
  if (fields.address != current->server_name &&
      OtherServerNamedAlike(records, fields.address, current->record_number)) {
    return {EditResult::kDuplicate, edit_text::kDuplicate};
  }
  ServerRecord server = RecordFromFields(fields, domain);
  server.record_number = current->record_number;
  if (!UpdateServer(records, server)) {
    return {EditResult::kModifyFailed, edit_text::kModifyFailed};
  }
  return {EditResult::kModified, edit_text::kModified};
}

DeleteOutcome DeleteServersNumbered(services::DBConnection& connection, RecordSet& records,
                                    std::span<const Text> numbers,
                                    const std::function<void()>& between) {
  DeleteOutcome outcome;
  for (const Text& number : numbers) {
    if (!DeleteServerNumbered(connection, records, number)) {
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
