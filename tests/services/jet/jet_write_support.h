// Helpers for the engine's write tests: fresh writable copies of files, paths in the program's
// form, and the two independent readers (Debian's command-line tools and the mdb-reader
// package) used to check what the engine wrote.
#pragma once

#include <optional>
#include <string>

#include "base/text.h"
#include "support/temp_directory.h"

namespace lumora::jet::testing {

// The program-style path of `name` inside `directory`.
Text FileIn(const testing_support::TempDirectory& directory, const std::string& name);

// Copies a genuine fixture into `directory` as a new, writable file; its program-style path,
// or empty when the fixture is missing.
std::optional<Text> CopyFixture(const testing_support::TempDirectory& directory,
                                const std::string& fixture);

// Copies a genuine fixture into `directory` and takes away every write permission, as a file
// marked read-only; its program-style path, or empty when the fixture is missing.
std::optional<Text> ReadOnlyCopyOfFixture(const testing_support::TempDirectory& directory,
                                          const std::string& fixture);

// mdb-export's CSV of `table` (header line first); empty when the tools are missing or fail.
std::optional<std::string> MdbExport(const std::string& file, const std::string& table);

// The output of `command` run with the file and then `after` appended; empty as above.
std::optional<std::string> MdbTool(const std::string& command, const std::string& file,
                                   const std::string& after = "");

// mdb-reader's JSON: {"tables": [...], "rows": [...]}; empty when node or the package is
// missing or the read fails.
std::optional<std::string> MdbReaderJson(const std::string& file, const std::string& table);

// Times `needle` occurs in `text`.
std::size_t Occurrences(const std::string& text, const std::string& needle);

}  // namespace lumora::jet::testing
