// lumoractl: the program's operations for scripting and checking, one subcommand each.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "command.h"

namespace lumora::ctl {
namespace {

struct CommandGroup {
  std::string_view name;
  std::span<const Command> (*commands)();
};

constexpr CommandGroup kGroups[] = {
    {"password", PasswordCommands},       {"catalogue", CatalogueCommands},
    {"catalogue", CatalogueEditCommands}, {"session", SessionCommands},
    {"locate", LocateCommands},           {"probe", ProbeCommands},
};

void PrintUsage(std::FILE* out) {
  std::fputs("usage: lumoractl GROUP COMMAND [ARGUMENTS]\n\n", out);
  for (const CommandGroup& group : kGroups) {
    for (const Command& command : group.commands()) {
      std::string line = "  lumoractl ";
      line.append(group.name);
      if (!command.name.empty()) {
        line.append(" ").append(command.name);
      }
      if (!command.usage.empty()) {
        line.append(" ").append(command.usage);
      }
      std::fprintf(out, "%-48s %.*s\n", line.c_str(), static_cast<int>(command.summary.size()),
                   command.summary.data());
    }
  }
}

int Run(std::vector<std::string_view> words) {
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
      if (command.name.empty()) {
        return command.run(Arguments(words).subspan(1));
      }
      if (words.size() >= 2 && words[1] == command.name) {
        return command.run(Arguments(words).subspan(2));
      }
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
  std::fprintf(stderr, "lumoractl: %.*s\n", static_cast<int>(message.size()), message.data());
  return kBadUsage;
}

}  // namespace lumora::ctl

int main(int argc, char** argv) {
  std::vector<std::string_view> words(argv + 1, argv + argc);
  return lumora::ctl::Run(std::move(words));
}
