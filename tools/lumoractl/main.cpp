// lumoractl: the program's operations for scripting and checking, one subcommand each.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "command.h"
#include "terminal.h"

namespace lumora::ctl {
namespace {

struct CommandGroup {
  std::string_view name;
  std::span<const Command> (*commands)();
};

constexpr CommandGroup kGroups[] = {
    {"password", PasswordCommands},
    {"catalogue", CatalogueCommands},
    {"catalogue", CatalogueEditCommands},
    {"catalogue", CatalogueImportCommands},
    {"session", SessionCommands},
    {"locate", LocateCommands},
    {"probe", ProbeCommands},
};

std::string CommandLine(std::string_view group, const Command& command) {
  std::string line = "lumoractl ";
  line.append(group);
  if (!command.name.empty()) {
    line.append(" ").append(command.name);
  }
  if (!command.usage.empty()) {
    line.append(" ").append(command.usage);
  }
  return line;
}

constexpr char kClosing[] =
    "\nOptions for every command:\n"
    "  --encoding utf-8|gbk   the encoding of arguments, input and output (default: the\n"
    "                         locale's; on Windows UTF-16 at a console and the ANSI code page\n"
    "                         in a pipe or file)\n"
    "  --help                 the command's own usage\n"
    "\nExit codes: 0 success, 1 the operation failed, 2 bad arguments.";

void PrintUsage(std::FILE* out) {
  PrintText(out, "usage: lumoractl GROUP COMMAND [ARGUMENTS]\n");
  for (const CommandGroup& group : kGroups) {
    for (const Command& command : group.commands()) {
      char line[512];
      std::snprintf(line, sizeof line, "  %-48s %.*s", CommandLine(group.name, command).c_str(),
                    static_cast<int>(command.summary.size()), command.summary.data());
      PrintText(out, line);
    }
  }
  PrintText(out, kClosing);
}

void PrintCommandUsage(std::string_view group, const Command& command) {
  PrintText(stdout,
            "usage: " + CommandLine(group, command) + "\n\n" + std::string(command.summary));
  PrintText(stdout, kClosing);
}

bool AsksForHelp(Arguments args) {
  for (const std::string_view word : args) {
    if (word == "--help" || word == "-h") {
      return true;
    }
  }
  return false;
}

// Takes "--encoding NAME" out of `words`, wherever it stands; false when NAME is no encoding.
bool TakeEncoding(std::vector<std::string_view>& words) {
  for (std::size_t index = 0; index < words.size(); ++index) {
    if (words[index] != "--encoding") {
      continue;
    }
    const std::optional<Encoding> encoding =
        index + 1 < words.size() ? ParseEncoding(words[index + 1]) : std::nullopt;
    if (!encoding) {
      return false;
    }
    ChooseEncoding(*encoding);
    words.erase(words.begin() + static_cast<std::ptrdiff_t>(index),
                words.begin() + static_cast<std::ptrdiff_t>(index) + 2);
    --index;
  }
  return true;
}

int Run(std::vector<std::string_view> words) {
  if (!TakeEncoding(words)) {
    return UsageError("--encoding takes utf-8 or gbk");
  }
  if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
    PrintUsage(words.empty() ? stderr : stdout);
    return words.empty() ? kBadUsage : kOk;
  }
  bool groupFound = false;
  // A group may be listed more than once: its commands are then spread over several files.
  for (const CommandGroup& group : kGroups) {
    if (words[0] != group.name) {
      continue;
    }
    groupFound = true;
    for (const Command& command : group.commands()) {
      const bool named = !command.name.empty() && words.size() >= 2 && words[1] == command.name;
      if (!command.name.empty() && !named) {
        continue;
      }
      const Arguments args = Arguments(words).subspan(named ? 2 : 1);
      if (AsksForHelp(args)) {
        PrintCommandUsage(group.name, command);
        return kOk;
      }
      return command.run(args);
    }
  }
  PrintUsage(stderr);
  if (!groupFound) {
    return UsageError("unknown group");
  }
  return UsageError(words.size() < 2 ? "missing command" : "unknown command");
}

}  // namespace

int UsageError(std::string_view message) {
  PrintError(message);
  return kBadUsage;
}

}  // namespace lumora::ctl

int main(int argc, char** argv) {
  const std::vector<std::string> typed = lumora::ctl::CommandLineWords(argc, argv);
  std::vector<std::string_view> words(typed.begin(), typed.end());
  return lumora::ctl::Run(std::move(words));
}
