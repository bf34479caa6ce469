// The contents of a private profile file, read and written back the way the Windows profile
// functions treat them: blank lines dropped, names and values trimmed, sections and keys found
// case-insensitively, the first of duplicate sections or keys winning.
#pragma once

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "base/text.h"

namespace lumora::platform {

class ProfileDocument {
 public:
  static ProfileDocument Parse(std::string_view bytes);

  // The value of `key` in `section`; nothing when either is missing or the line has no '='.
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

  // Stores `value` without its leading blanks, appending the key or the section when missing.
  // False when the key already held exactly that value, so the file need not be written.
  bool Set(std::string_view section, std::string_view key, std::string_view value);

  // Makes `entries` the only lines of the first section called `section` (appended when missing).
  void ReplaceSection(std::string_view section, const std::vector<std::pair<Text, Text>>& entries);

  // "[section]" headers and "name=value" lines, each ended by CR LF.
  Text Serialize() const;

 private:
  struct Entry {
    Text name;
    std::optional<Text> value;  // empty for a line without '='
  };
  struct Section {
    Text name;  // empty for the lines before the first header
    std::vector<Entry> entries;
  };

  // Index of the first section called `name` (blanks around it ignored), or npos.
  std::size_t FindSection(std::string_view name) const;

  std::vector<Section> sections_{Section{}};
};

}  // namespace lumora::platform
