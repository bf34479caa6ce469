#include "support/temp_directory.h"

#include <atomic>
#include <filesystem>
#include <random>
#include <system_error>

namespace lumora::testing_support {
namespace {

std::filesystem::path UniqueDirectory() {
  static std::atomic<int> counter{0};
  // <chrono> cannot be used here: its "\u00b5s" suffix has no GBK spelling.
  static const unsigned stamp = std::random_device{}();
  const std::string name = "lumora-test-" + std::to_string(stamp) + "-" + std::to_string(counter++);
  return std::filesystem::temp_directory_path() / name;
}

}  // namespace

TempDirectory::TempDirectory() {
  const std::filesystem::path directory = UniqueDirectory();
  std::filesystem::create_directories(directory);
  path_ = directory.string();
}

TempDirectory::~TempDirectory() {
  std::error_code ignored;
  // Windows deletes no file marked read-only: tests that made one get it removed all the same.
  for (std::filesystem::recursive_directory_iterator it(path_, ignored), end; it != end;
       it.increment(ignored)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add, ignored);
  }
  std::filesystem::remove_all(std::filesystem::path(path_), ignored);
}

std::string TempDirectory::NativePath(const std::string& name) const {
  return (std::filesystem::path(path_) / name).string();
}

bool TempDirectory::Contains(const std::string& name) const {
  std::error_code ignored;
  return std::filesystem::exists(std::filesystem::path(path_) / name, ignored);
}

}  // namespace lumora::testing_support
