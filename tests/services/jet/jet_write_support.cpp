#include "services/jet/jet_write_support.h"

#include <filesystem>
#include <system_error>

#include "services/jet/jet_test_support.h"

namespace lumora::jet::testing {
namespace {

std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out.push_back(c);
    }
  }
  return out + "'";
}

}  // namespace

Text FileIn(const testing_support::TempDirectory& directory, const std::string& name) {
#ifdef _WIN32
  return directory.Path() + "\\" + name;
#else
  return directory.Path() + "/" + name;
#endif
}

std::optional<Text> CopyFixture(const testing_support::TempDirectory& directory,
                                const std::string& fixture) {
  if (!FixtureDirectory()) {
    return std::nullopt;
  }
  const Bytes bytes = ReadWholeFile(FixturePath(fixture));
  if (bytes.empty() || !WriteWholeFile(directory.NativePath(fixture), bytes)) {
    return std::nullopt;
  }
  return FileIn(directory, fixture);
}

std::optional<Text> ReadOnlyCopyOfFixture(const testing_support::TempDirectory& directory,
                                          const std::string& fixture) {
  std::optional<Text> path = CopyFixture(directory, fixture);
  if (path) {
    std::filesystem::permissions(directory.NativePath(fixture),
                                 std::filesystem::perms::owner_read |
                                     std::filesystem::perms::group_read |
                                     std::filesystem::perms::others_read);
  }
  return path;
}

std::optional<std::string> MdbExport(const std::string& file, const std::string& table) {
  if (!HaveMdbTools()) {
    return std::nullopt;
  }
  return RunCommand("mdb-export " + Quoted(file) + " " + Quoted(table) + " 2>/dev/null");
}

std::optional<std::string> MdbTool(const std::string& command, const std::string& file,
                                   const std::string& after) {
  if (!HaveMdbTools()) {
    return std::nullopt;
  }
  return RunCommand(command + " " + Quoted(file) + " " + after + " 2>/dev/null");
}

std::optional<std::string> MdbReaderJson(const std::string& file, const std::string& table) {
#ifdef _WIN32
  (void)file;
  (void)table;
  return std::nullopt;
#else
  const std::filesystem::path modules =
      std::filesystem::path(LUMORA_SOURCE_DIR) / "build" / "node" / "node_modules";
  const std::filesystem::path script = std::filesystem::path(LUMORA_SOURCE_DIR) / "tests" /
                                       "services" / "jet" / "mdb_reader_dump.mjs";
  std::error_code error;
  if (!std::filesystem::exists(modules / "mdb-reader", error) ||
      !RunCommand("command -v node >/dev/null 2>&1")) {
    return std::nullopt;
  }
  return RunCommand("node " + Quoted(script.string()) + " " + Quoted(modules.string()) + " " +
                    Quoted(file) + " " + Quoted(table) + " 2>/dev/null");
#endif
}

std::size_t Occurrences(const std::string& text, const std::string& needle) {
  std::size_t count = 0;
  for (std::size_t at = text.find(needle); at != std::string::npos;
       at = text.find(needle, at + needle.size())) {
    ++count;
  }
  return count;
}

}  // namespace lumora::jet::testing
