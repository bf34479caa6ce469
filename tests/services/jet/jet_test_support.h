// Helpers shared by the engine's tests: the genuine sample files, reading and writing whole
// files, UTF-8 spelling of decoded texts, and the outside reader used as a checker.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"

namespace lumora::jet::testing {

// The folder of genuine Access files, or empty when the shared tree is absent.
std::optional<std::string> FixtureDirectory();

// Full paths of every *.mdb in the fixture folder, sorted; empty when it is absent.
std::vector<std::string> FixtureFiles();

// A path inside the fixture folder (which must exist).
std::string FixturePath(const std::string& name);

Bytes ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const Bytes& bytes);

std::string Utf8(std::u16string_view text);

// Standard output of a shell command, or empty when it cannot run or fails (always empty on
// Windows, where the outside tools are not available).
std::optional<std::string> RunCommand(const std::string& command);

// True when Debian's Access tools are installed (never on Windows).
bool HaveMdbTools();

}  // namespace lumora::jet::testing
