// Any bytes as the location database: every lookup must finish without reading outside the
// file, and no text can be longer than the file that holds it.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "status/ip_locator.h"

namespace {

using lumora::status::IpLocator;
using lumora::status::Location;

void Require(bool condition) {
  if (!condition) {
    std::abort();
  }
}

// One file for the whole run, removed when the fuzzer exits.
class ScratchFile {
 public:
  ScratchFile()
      : path_((std::filesystem::temp_directory_path() /
               ("lumora-ip-locator-fuzz-" + std::to_string(::getpid()) + ".dat"))
                  .string()) {}
  ~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

const std::string& DatabasePath() {
  static const ScratchFile file;
  return file.Path();
}

std::string AddressOf(std::uint32_t value) {
  return std::to_string(value >> 24) + "." + std::to_string((value >> 16) & 0xFF) + "." +
         std::to_string((value >> 8) & 0xFF) + "." + std::to_string(value & 0xFF);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
  {
    std::ofstream file(DatabasePath(), std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(input), static_cast<std::streamsize>(size));
  }
  IpLocator locator;
  Require(locator.Open(DatabasePath()));

  // The addresses in the file's own index records are the ones that reach its records.
  std::uint32_t own = 0;
  for (std::size_t i = 8; i < 12 && i < size; ++i) {
    own |= static_cast<std::uint32_t>(input[i]) << (8 * (i - 8));
  }
  const std::string addresses[] = {"0.0.0.0",    "1.2.3.4", "255.255.255.255", "-1.0.0.0",
                                   "1e30.0.0.0", "host",    AddressOf(own),    AddressOf(own + 1)};
  for (const std::string& address : addresses) {
    const Location found = locator.Find(address);
    Require(found.country.size() <= size);
    Require(found.area.size() <= size);
    Require(locator.Lookup(address).size() <= 2 * size + 16);
  }
  return 0;
}
