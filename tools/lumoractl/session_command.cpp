// lumoractl session DIR HOST: the session file a connect to HOST would write, without starting the
// client.
#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "catalogue/server_store.h"
#include "command.h"
#include "launcher/host_file_name.h"
#include "launcher/session_inputs.h"
#include "launcher/session_writer.h"
#include "platform/files.h"
#include "platform/program_directory.h"
#include "services/db_connection.h"
#include "services/record_set.h"
#include "terminal.h"

namespace lumora::ctl {
namespace {

// `subject` is a path, printed as the system spells it.
void PrintProblem(std::string_view message, std::string_view subject) {
  std::fprintf(stderr, "lumoractl: %.*s: %.*s\n", static_cast<int>(message.size()), message.data(),
               static_cast<int>(subject.size()), subject.data());
}

// The cells the server list shows for the first server named `host` byte for byte, filled from
// the catalogue as the list is.
std::optional<launcher::ServerRowCells> ListedRow(services::RecordSet& records, const Text& host) {
  std::vector<catalogue::ServerRecord> servers;
  catalogue::ListServers(records, servers);
  const auto found = std::find_if(servers.begin(), servers.end(),
                                  [&](const auto& server) { return server.server_name == host; });
  if (found == servers.end()) {
    return std::nullopt;
  }
  return launcher::ServerRowCells{found->server_name, found->port, found->user_name, found->domain};
}

int WriteSession(Arguments args) {
  if (args.size() != 2) {
    return UsageError("session takes DIR and HOST");
  }
  SetProgramDirectory(Text(args[0]));
  const std::optional<Text> typedHost = ArgumentText(args[1]);
  if (!typedHost) {
    return UsageError(kNotATextMessage);
  }
  const Text& host = *typedHost;

  services::DBConnection connection;
  const Text database = ProgramFile("mstsc.mdb");
  if (!connection.OpenAccess(database, "")) {
    PrintProblem("cannot open the catalogue", platform::SystemPath(database));
    return kFailed;
  }
  services::RecordSet records;
  records.SetConnection(connection);
  const std::optional<launcher::ServerRowCells> row = ListedRow(records, host);
  if (!row) {
    PrintError("no such server in the catalogue: " + host);
    return kFailed;
  }
  const std::optional<launcher::SessionFile> file =
      launcher::WriteSessionFile(launcher::GatherSessionInputs(records, *row));
  if (!file) {
    if (!launcher::IsPlainFileName(launcher::HistoryFileStem(host))) {
      PrintError("the host name cannot name a file in the History folder: " + host);
    } else {
      PrintProblem("cannot write", platform::SystemPath(launcher::SessionFilePath(host)));
    }
    return kFailed;
  }
  const Text shown = platform::SystemPath(file->path);
  std::fwrite(shown.data(), 1, shown.size(), stdout);
  std::fputc('\n', stdout);
  return kOk;
}

constexpr Command kCommands[] = {
    {"", "DIR HOST", "writes DIR\\History\\HOST.rdp as a connect would; prints its path",
     WriteSession},
};

}  // namespace

std::span<const Command> SessionCommands() {
  return kCommands;
}

}  // namespace lumora::ctl
