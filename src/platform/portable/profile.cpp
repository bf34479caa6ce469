// Profile files on systems without the Windows profile functions: the same reading and writing
// rules, over the bytes of the file (GBK text is never converted).
#include "platform/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include "platform/portable/native_path.h"
#include "platform/portable/profile_document.h"

namespace lumora::platform {
namespace {

enum class FileState { kRead, kMissing, kUnusable };

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

class UniqueDescriptor {
 public:
  explicit UniqueDescriptor(int descriptor) : descriptor_(descriptor) {}
  ~UniqueDescriptor() {
    if (descriptor_ >= 0) {
      ::close(descriptor_);
    }
  }
  UniqueDescriptor(const UniqueDescriptor&) = delete;
  UniqueDescriptor& operator=(const UniqueDescriptor&) = delete;

  int get() const { return descriptor_; }
  // Closes now and reports whether the close succeeded (buffered writes can fail here).
  bool Close() {
    const int descriptor = descriptor_;
    descriptor_ = -1;
    return ::close(descriptor) == 0;
  }

 private:
  int descriptor_;
};

// Removes a temporary file unless it was renamed into place.
class TemporaryFileGuard {
 public:
  explicit TemporaryFileGuard(Text path) : path_(std::move(path)) {}
  ~TemporaryFileGuard() {
    if (!path_.empty()) {
      ::unlink(path_.c_str());
    }
  }
  TemporaryFileGuard(const TemporaryFileGuard&) = delete;
  TemporaryFileGuard& operator=(const TemporaryFileGuard&) = delete;

  void Release() { path_.clear(); }

 private:
  Text path_;
};

Text ParentDirectory(const Text& native) {
  const std::size_t slash = native.rfind('/');
  if (slash == Text::npos) {
    return ".";
  }
  return slash == 0 ? Text("/") : native.substr(0, slash);
}

bool IsDirectory(const Text& native) {
  struct stat info {};
  return ::stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Like the Windows functions: a file that is absent from an existing directory reads as an empty
// profile; anything else that cannot be opened (missing directory, a directory, no access) fails.
FileState ReadProfileFile(const Text& native, Text& bytes) {
  bytes.clear();
  if (IsDirectory(native)) {
    return FileState::kUnusable;
  }
  const UniqueFile file(std::fopen(native.c_str(), "rb"));
  if (!file) {
    const bool absent = errno == ENOENT;
    return absent && IsDirectory(ParentDirectory(native)) ? FileState::kMissing
                                                          : FileState::kUnusable;
  }
  char chunk[65536];
  std::size_t count = 0;
  while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
    bytes.append(chunk, count);
  }
  return std::ferror(file.get()) ? FileState::kUnusable : FileState::kRead;
}

// Writes a temporary file beside the profile and renames it over the profile.
bool ReplaceFile(const Text& native, std::string_view bytes) {
  struct stat original {};
  const bool existed = ::stat(native.c_str(), &original) == 0;
  // A read-only profile stays as it is, as on Windows, where even an administrator cannot write a
  // file whose read-only attribute is set: the write bits count, not only what access() says.
  constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;
  if (existed && ((original.st_mode & kAnyWrite) == 0 || ::access(native.c_str(), W_OK) != 0)) {
    return false;
  }

  Text temporary = native + ".XXXXXX";
  UniqueDescriptor descriptor(::mkstemp(temporary.data()));
  if (descriptor.get() < 0) {
    return false;
  }
  TemporaryFileGuard guard(temporary);
  const mode_t mode = existed ? (original.st_mode & 07777) : 0644;
  if (::fchmod(descriptor.get(), mode) != 0) {
    return false;
  }
  while (!bytes.empty()) {
    const ssize_t written = ::write(descriptor.get(), bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  if (!descriptor.Close() || ::rename(temporary.c_str(), native.c_str()) != 0) {
    return false;
  }
  guard.Release();
  return true;
}

std::size_t CharCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); i += GbkCharLength(text, i)) {
    ++count;
  }
  return count;
}

// Byte length of the first `count` characters of `text` (all of it when shorter).
std::size_t PrefixBytes(std::string_view text, std::size_t count) {
  std::size_t i = 0;
  for (; i < text.size() && count > 0; --count) {
    i += GbkCharLength(text, i);
  }
  return i;
}

// Trailing spaces are dropped from the fallback, though never its first character.
std::string_view TrimFallback(std::string_view fallback) {
  while (fallback.size() > 1 && fallback.back() == ' ') {
    fallback.remove_suffix(1);
  }
  return fallback;
}

// What lands in the caller's buffer of kProfileBufferSize: at most one character less than the
// buffer, counted in characters, then at most as many bytes with no character cut in two. A value
// in matching quotes loses them; when the value is too long the closing quote is never reached and
// the last copied character goes instead, as with the Windows functions.
Text CopyEntry(std::string_view value, bool strip_quotes) {
  constexpr std::size_t kLength = kProfileBufferSize;
  bool quoted = false;
  if (strip_quotes && value.size() > 1 && (value.front() == '\'' || value.front() == '"') &&
      value.back() == value.front()) {
    quoted = true;
    value.remove_prefix(1);
  }
  std::size_t end = PrefixBytes(value, kLength - 1);
  if (quoted && kLength >= CharCount(value)) {
    end = PrefixBytes(value, CharCount(value.substr(0, end)) - 1);
  }
  std::string_view copied = value.substr(0, end);
  if (copied.size() > kLength - 1) {
    std::size_t fits = 0;
    while (fits < copied.size()) {
      const std::size_t next = fits + GbkCharLength(copied, fits);
      if (next > kLength - 1) {
        break;
      }
      fits = next;
    }
    copied = copied.substr(0, fits);
  }
  return Text(copied);
}

// The Windows functions carry texts as UTF-16 between the caller and the file, through code page
// 936: a lead byte (81 to FE) and a trail byte (40 to 7E, 80 to FE) make one character, which
// comes back unchanged; a lead byte without a trail byte, and the bytes 80 and FF on their own,
// have no spelling and come back as '?'.
Text CarriedThroughUtf16(std::string_view value) {
  Text carried;
  carried.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    const auto byte = static_cast<unsigned char>(value[i]);
    if (byte < 0x80) {
      carried.push_back(value[i]);
      continue;
    }
    const auto trail = i + 1 < value.size() ? static_cast<unsigned char>(value[i + 1]) : 0;
    const bool pair = IsGbkLeadByte(byte) && trail >= 0x40 && trail != 0x7F && trail != 0xFF;
    if (!pair) {
      carried.push_back('?');
      continue;
    }
    carried.append(value.substr(i, 2));
    ++i;
  }
  return carried;
}

}  // namespace

Text ReadProfileText(const Text& file, const Text& section, const Text& key, const Text& fallback) {
  const std::string_view trimmed_fallback = TrimFallback(fallback);
  Text bytes;
  if (ReadProfileFile(NativePath(file), bytes) == FileState::kUnusable) {
    return CopyEntry(trimmed_fallback, false);
  }
  const ProfileDocument document = ProfileDocument::Parse(bytes);
  const std::optional<std::string_view> value = document.Find(section, key);
  return CopyEntry(value ? *value : trimmed_fallback, true);
}

bool WriteProfileText(const Text& file, const Text& section, const Text& key, const Text& value) {
  const Text native = NativePath(file);
  Text bytes;
  if (ReadProfileFile(native, bytes) == FileState::kUnusable) {
    return false;
  }
  ProfileDocument document = ProfileDocument::Parse(bytes);
  if (!document.Set(section, key, CarriedThroughUtf16(value))) {
    return true;
  }
  return ReplaceFile(native, document.Serialize());
}

bool ReplaceProfileSection(const Text& file, const Text& section,
                           const std::vector<std::pair<Text, Text>>& entries) {
  const Text native = NativePath(file);
  Text bytes;
  if (ReadProfileFile(native, bytes) == FileState::kUnusable) {
    return false;
  }
  ProfileDocument document = ProfileDocument::Parse(bytes);
  std::vector<std::pair<Text, Text>> carried;
  carried.reserve(entries.size());
  for (const auto& [name, value] : entries) {
    carried.emplace_back(CarriedThroughUtf16(name), CarriedThroughUtf16(value));
  }
  document.ReplaceSection(section, carried);
  const Text serialized = document.Serialize();
  return serialized == bytes || ReplaceFile(native, serialized);
}

}  // namespace lumora::platform
