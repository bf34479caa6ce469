#include "services/jet/jet_test_support.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "support/file_bytes.h"

namespace lumora::jet::testing {

std::optional<std::string> FixtureDirectory() {
  const std::filesystem::path directory =
      std::filesystem::path(LUMORA_SHARED_DIR) / "fixtures" / "access";
  std::error_code error;
  if (!std::filesystem::is_directory(directory, error)) {
    return std::nullopt;
  }
  return directory.string();
}

std::vector<std::string> FixtureFiles() {
  std::vector<std::string> files;
  const std::optional<std::string> directory = FixtureDirectory();
  if (!directory) {
    return files;
  }
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(*directory, error)) {
    if (entry.path().extension() == ".mdb") {
      files.push_back(entry.path().string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string FixturePath(const std::string& name) {
  return (std::filesystem::path(FixtureDirectory().value_or("")) / name).string();
}

Bytes ReadWholeFile(const std::string& path) {
  const std::string bytes = testing_support::ReadBytes(path);
  return Bytes(bytes.begin(), bytes.end());
}

bool WriteWholeFile(const std::string& path, const Bytes& bytes) {
  return testing_support::WriteBytes(
      path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string Utf8(std::u16string_view text) {
  std::string out;
  for (std::size_t index = 0; index < text.size(); ++index) {
    char32_t c = text[index];
    if (c >= 0xD800 && c <= 0xDBFF && index + 1 < text.size() && text[index + 1] >= 0xDC00 &&
        text[index + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++index] - 0xDC00);
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

#ifndef _WIN32
std::optional<std::string> RunCommand(const std::string& command) {
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) {
    return std::nullopt;
  }
  std::string output;
  char buffer[4096];
  std::size_t read = 0;
  while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
    output.append(buffer, read);
  }
  if (::pclose(pipe) != 0) {
    return std::nullopt;
  }
  return output;
}

bool HaveMdbTools() {
  static const bool present =
      RunCommand("command -v mdb-export >/dev/null 2>&1 && command -v mdb-tables >/dev/null 2>&1")
          .has_value();
  return present;
}
#else
std::optional<std::string> RunCommand(const std::string&) {
  return std::nullopt;
}

bool HaveMdbTools() {
  return false;
}
#endif

}  // namespace lumora::jet::testing
