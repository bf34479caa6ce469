// lumoractl catalogue add, modify, delete: the host editor's checks and writes on a catalogue
// file, with the editor's messages (GBK, like every text lumoractl reads and prints).
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "catalogue/server_edit.h"
#include "catalogue/storage_text.h"
#include "catalogue_notices.h"
#include "command.h"
#include "platform/files.h"
#include "services/db_connection.h"
#include "services/record_set.h"
#include "terminal.h"

namespace lumora::ctl {
namespace {

namespace edit_text = catalogue::edit_text;

constexpr char kDefaultPort[] = "3389";

int Refused(std::string_view message) {
  PrintText(stderr, message);
  return kFailed;
}

// The catalogue file, opened as the program opens mstsc.mdb; it is never created here.
struct OpenCatalogue {
  services::DBConnection connection;
  services::RecordSet records;
};

bool OpenForChange(OpenCatalogue& catalogue, const Text& file) {
  return OpenCatalogueForChange(catalogue.connection, catalogue.records, file);
}

// FILE HOST, then options that each take one value; `newHost` only when it is not null.
struct EditArguments {
  Text file;
  Text host;
  std::optional<Text> port, user, password, remark, newHost;
};

std::optional<EditArguments> ParseEditArguments(Arguments args, bool allowNewHost) {
  if (args.size() < 2) {
    return std::nullopt;
  }
  const std::optional<Text> host = ArgumentText(args[1]);
  if (!host) {
    PrintError(kNotATextMessage);
    return std::nullopt;
  }
  EditArguments parsed{.file = Text(args[0]), .host = *host};
  for (std::size_t i = 2; i < args.size(); i += 2) {
    if (i + 1 == args.size()) {
      return std::nullopt;
    }
    const std::string_view option = args[i];
    const std::optional<Text> typed = ArgumentText(args[i + 1]);
    if (!typed) {
      PrintError(std::string(kNotATextMessage) + ": " + std::string(args[i]));
      return std::nullopt;
    }
    const Text& value = *typed;
    if (option == "--port") {
      parsed.port = value;
    } else if (option == "--user") {
      parsed.user = value;
    } else if (option == "--password") {
      parsed.password = value;
    } else if (option == "--remark") {
      parsed.remark = value;
    } else if (option == "--new-host" && allowNewHost) {
      parsed.newHost = value;
    } else {
      return std::nullopt;
    }
  }
  return parsed;
}

int Report(const catalogue::EditOutcome& outcome, catalogue::EditResult success,
           const services::DBConnection& connection) {
  if (outcome.result == catalogue::EditResult::kAddFailed ||
      outcome.result == catalogue::EditResult::kModifyFailed) {
    return Refused(catalogue::WithRefusal(
        catalogue::WithReason(outcome.message, connection.Report()), connection.Report()));
  }
  if (outcome.result != success) {
    return Refused(outcome.message);
  }
  PrintText(stdout, outcome.message);
  return kOk;
}

int Add(Arguments args) {
  const std::optional<EditArguments> parsed = ParseEditArguments(args, false);
  if (!parsed) {
    return UsageError("add takes FILE HOST [--port P] [--user U] [--password W] [--remark R]");
  }
  OpenCatalogue catalogue;
  if (!OpenForChange(catalogue, parsed->file)) {
    return kFailed;
  }
  // A new server starts as the editor starts it, with the usual remote-desktop port.
  const catalogue::ServerFields fields{.address = parsed->host,
                                       .port = parsed->port.value_or(kDefaultPort),
                                       .user = parsed->user.value_or(catalogue::kDefaultUser),
                                       .password = parsed->password.value_or(""),
                                       .remark = parsed->remark.value_or("")};
  return Report(catalogue::AddServerFromFields(catalogue.records, fields),
                catalogue::EditResult::kAdded, catalogue.connection);
}

int Modify(Arguments args) {
  const std::optional<EditArguments> parsed = ParseEditArguments(args, true);
  if (!parsed) {
    return UsageError(
        "modify takes FILE HOST [--port P] [--user U] [--password W] [--remark R] "
        "[--new-host H]");
  }
  OpenCatalogue catalogue;
  if (!OpenForChange(catalogue, parsed->file)) {
    return kFailed;
  }
  const std::optional<catalogue::ServerRecord> stored =
      catalogue::FindServer(catalogue.records, parsed->host);
  if (!stored) {
    return Refused(edit_text::kModifyFailed);
  }
  // What is not given stays as stored, the domain included, as in the editor.
  const catalogue::ServerFields fields{.address = parsed->newHost.value_or(stored->server_name),
                                       .port = parsed->port.value_or(stored->port),
                                       .user = parsed->user.value_or(stored->user_name),
                                       .password = parsed->password.value_or(stored->password),
                                       .remark = parsed->remark.value_or(stored->remark)};
  return Report(catalogue::ModifyServerFromFields(catalogue.records, stored->record_number, fields,
                                                  stored->domain),
                catalogue::EditResult::kModified, catalogue.connection);
}

int Delete(Arguments args) {
  if (args.size() < 2) {
    return UsageError("delete takes FILE HOST...");
  }
  const Text file(args[0]);
  OpenCatalogue catalogue;
  if (!OpenForChange(catalogue, file)) {
    return kFailed;
  }
  std::vector<Text> numbers;
  for (const std::string_view host : args.subspan(1)) {
    // The editor deletes rows it shows; here a name that is not stored is refused up front, so
    // that a typing error deletes nothing. Only rows named exactly so go, not their letter-case
    // twins.
    const std::optional<Text> name = ArgumentText(host);
    if (!name) {
      return UsageError(kNotATextMessage);
    }
    const std::vector<Text> named = catalogue::ServerNumbersNamed(catalogue.records, *name);
    if (named.empty()) {
      PrintError(*name + ": no such server");
      return kFailed;
    }
    // A name given twice names its rows once: they are deleted once.
    for (const Text& number : named) {
      if (std::find(numbers.begin(), numbers.end(), number) == numbers.end()) {
        numbers.push_back(number);
      }
    }
  }
  if (!catalogue::DeleteServersNumbered(catalogue.connection, catalogue.records, numbers)
           .complete) {
    const services::StorageReport report = catalogue.connection.Report();
    return Refused(
        catalogue::WithRefusal(catalogue::WithReason(edit_text::kDeleteFailed, report), report));
  }
  PrintText(stdout, edit_text::kDeleted);
  return kOk;
}

constexpr Command kCommands[] = {
    {"add", "FILE HOST [--port P] [--user U] [--password W] [--remark R]",
     "the host editor's add (port 3389 and user Administrator unless given)", Add},
    {"modify", "FILE HOST [--port P] [--user U] [--password W] [--remark R] [--new-host H]",
     "the host editor's modify; what is not given keeps its stored value", Modify},
    {"delete", "FILE HOST...", "deletes the servers with these names", Delete},
};

}  // namespace

std::span<const Command> CatalogueEditCommands() {
  return kCommands;
}

}  // namespace lumora::ctl
