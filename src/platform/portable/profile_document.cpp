#include "platform/portable/profile_document.h"

namespace lumora::platform {
namespace {

// Tab, line feed, vertical tab, form feed, carriage return, ^Z and space.
bool IsProfileBlank(char c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == ' ';
}

std::string_view TrimStart(std::string_view text) {
  while (!text.empty() && IsProfileBlank(text.front())) {
    text.remove_prefix(1);
  }
  return text;
}

std::string_view TrimEnd(std::string_view text) {
  while (!text.empty() && IsProfileBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

std::string_view Trim(std::string_view text) {
  return TrimEnd(TrimStart(text));
}

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Case-insensitive for single-byte characters only: the second byte of a double-byte character
// is compared exactly, so different Chinese characters never match.
bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size();) {
    const std::size_t length = GbkCharLength(a, i);
    if (length == 1) {
      if (AsciiLower(a[i]) != AsciiLower(b[i])) {
        return false;
      }
    } else if (a.compare(i, length, b, i, length) != 0) {
      return false;
    }
    i += length;
  }
  return true;
}

// Offset of the last ']' that stands as a whole character, or npos.
std::size_t FindLastBracket(std::string_view line) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < line.size(); i += GbkCharLength(line, i)) {
    if (line[i] == ']') {
      found = i;
    }
  }
  return found;
}

}  // namespace

ProfileDocument ProfileDocument::Parse(std::string_view bytes) {
  ProfileDocument document;
  std::size_t current = 0;
  std::size_t position = 0;
  while (position < bytes.size()) {
    const std::size_t start = position;
    while (position < bytes.size() && bytes[position] != '\n' && bytes[position] != '\r') {
      ++position;
    }
    const std::string_view line = Trim(bytes.substr(start, position - start));
    while (position < bytes.size() && (bytes[position] == '\n' || bytes[position] == '\r')) {
      ++position;
    }
    if (line.empty()) {
      continue;
    }

    if (line.front() == '[') {
      const std::size_t close = FindLastBracket(line);
      if (close != std::string_view::npos) {
        document.sections_.push_back(Section{Text(Trim(line.substr(1, close - 1))), {}});
        current = document.sections_.size() - 1;
        continue;
      }
      // A '[' line without ']' is an ordinary line.
    }

    Entry entry;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      entry.name = Text(line);
    } else {
      entry.name = Text(TrimEnd(line.substr(0, equals)));
      entry.value = Text(TrimStart(line.substr(equals + 1)));
    }
    std::vector<Entry>& entries = document.sections_[current].entries;
    // Of several nameless lines in a row ("=value") only the first is kept.
    if (!entry.name.empty() || entries.empty() || !entries.back().name.empty()) {
      entries.push_back(std::move(entry));
    }
  }
  return document;
}

std::size_t ProfileDocument::FindSection(std::string_view name) const {
  const std::string_view wanted = Trim(name);
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    if (EqualNoCase(sections_[i].name, wanted)) {
      return i;
    }
  }
  return std::string_view::npos;
}

std::optional<std::string_view> ProfileDocument::Find(std::string_view section,
                                                      std::string_view key) const {
  const std::size_t found = FindSection(section);
  if (found == std::string_view::npos) {
    return std::nullopt;
  }
  const std::string_view wanted = Trim(key);
  for (const Entry& entry : sections_[found].entries) {
    if (EqualNoCase(entry.name, wanted)) {
      if (!entry.value) {
        return std::nullopt;
      }
      return std::string_view(*entry.value);
    }
  }
  return std::nullopt;
}

bool ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string_view stored = TrimStart(value);
  // New names keep their trailing blanks, as the Windows functions store them.
  Entry created{Text(TrimStart(key)), Text(stored)};

  const std::size_t found = FindSection(section);
  if (found == std::string_view::npos) {
    sections_.push_back(Section{Text(TrimStart(section)), {}});
    sections_.back().entries.push_back(std::move(created));
    return true;
  }
  std::vector<Entry>& entries = sections_[found].entries;
  const std::string_view wanted = Trim(key);
  for (Entry& entry : entries) {
    if (EqualNoCase(entry.name, wanted)) {
      if (entry.value && *entry.value == stored) {
        return false;
      }
      entry.value = Text(stored);
      return true;
    }
  }
  entries.push_back(std::move(created));
  return true;
}

void ProfileDocument::ReplaceSection(std::string_view section,
                                     const std::vector<std::pair<Text, Text>>& entries) {
  std::size_t found = FindSection(section);
  if (found == std::string_view::npos) {
    sections_.push_back(Section{Text(TrimStart(section)), {}});
    found = sections_.size() - 1;
  }
  std::vector<Entry>& lines = sections_[found].entries;
  lines.clear();
  for (const auto& [name, value] : entries) {
    lines.push_back(Entry{Text(Trim(name)), Text(TrimStart(value))});
  }
}

Text ProfileDocument::Serialize() const {
  Text bytes;
  for (const Section& section : sections_) {
    if (!section.name.empty()) {
      bytes += '[';
      bytes += section.name;
      bytes += "]\r\n";
    }
    for (const Entry& entry : section.entries) {
      bytes += entry.name;
      if (entry.value) {
        bytes += '=';
        bytes += *entry.value;
      }
      bytes += "\r\n";
    }
  }
  return bytes;
}

}  // namespace lumora::platform
