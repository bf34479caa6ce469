#include "platform/program_directory.h"

#include <optional>

#include "platform/files.h"

namespace lumora {
namespace {

std::optional<Text>& StoredDirectory() {
  static std::optional<Text> directory;
  return directory;
}

}  // namespace

const Text& ProgramDirectory() {
  auto& directory = StoredDirectory();
  if (!directory) {
    directory = platform::ExecutableDirectory();
  }
  return *directory;
}

void SetProgramDirectory(Text directory) {
  while (!directory.empty() && (directory.back() == '\\' || directory.back() == '/')) {
    directory.pop_back();
  }
  StoredDirectory() = std::move(directory);
}

Text ProgramFile(std::string_view name) {
  Text path = ProgramDirectory();
  path += '\\';
  path += name;
  return path;
}

}  // namespace lumora
