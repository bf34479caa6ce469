// The subcommands of lumoractl: each takes the words after its name and returns the exit code.
#pragma once

#include <cstdio>
#include <span>
#include <string_view>

namespace lumora::ctl {

using Arguments = std::span<const std::string_view>;

inline constexpr int kOk = 0;
inline constexpr int kFailed = 1;
inline constexpr int kBadUsage = 2;

struct Command {
  std::string_view name;
  std::string_view usage;  // the words after the name, as the help shows them
  std::string_view summary;
  int (*run)(Arguments args);
};

std::span<const Command> PasswordCommands();
// One command without a name: the group runs it with all of its words.
std::span<const Command> LocateCommands();
std::span<const Command> ProbeCommands();
// catalogue create, list, export, check (catalogue_commands.cpp)
std::span<const Command> CatalogueCommands();
// catalogue add, modify, delete: the host editor's checks and writes (catalogue_edit_commands.cpp)
std::span<const Command> CatalogueEditCommands();
// catalogue import: servers in bulk from a CSV (catalogue_import.cpp)
std::span<const Command> CatalogueImportCommands();
// One command without a name: session DIR HOST.
std::span<const Command> SessionCommands();

// Prints "lumoractl: " and the message on standard error; returns kBadUsage.
int UsageError(std::string_view message);

}  // namespace lumora::ctl
