#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <memory>
#include <string>
#include <utility>

#include "platform/portable/native_path.h"

namespace lumora::platform {

bool FileExists(const Text& path) {
  const Text native = NativePath(path);
  // FindFirstFile finds nothing for an empty name or a name that ends in a separator.
  if (native.empty() || native.back() == '/') {
    return false;
  }
  struct stat info {};
  return ::stat(native.c_str(), &info) == 0;
}

bool FileIsReadOnly(const Text& path) {
  const Text native = NativePath(path);
  return FileExists(path) && ::access(native.c_str(), W_OK) != 0;
}

Text ExecutableDirectory() {
  std::string target(256, '\0');
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", target.data(), target.size());
    if (length < 0) {
      return {};
    }
    if (static_cast<std::size_t>(length) < target.size()) {
      target.resize(static_cast<std::size_t>(length));
      break;
    }
    target.resize(target.size() * 2);
  }
  const std::size_t slash = target.rfind('/');
  if (slash == std::string::npos) {
    return {};
  }
  target.resize(slash);
  return target;
}

namespace {

// One open file descriptor, closed when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int get() const { return fd_; }
  // Closes now, telling whether the last writes reached the file.
  bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

// One open directory stream, closed when it goes out of scope.
struct DirectoryCloser {
  void operator()(DIR* directory) const { ::closedir(directory); }
};

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// "*" matches any run of characters, "?" one character; characters are GBK characters, and
// letters match in either case.
bool MatchesWildcard(std::string_view pattern, std::string_view name) {
  if (pattern.empty()) {
    return name.empty();
  }
  if (pattern.front() == '*') {
    for (std::size_t at = 0;; at += GbkCharLength(name, at)) {
      if (MatchesWildcard(pattern.substr(1), name.substr(at))) {
        return true;
      }
      if (at >= name.size()) {
        return false;
      }
    }
  }
  if (name.empty()) {
    return false;
  }
  const std::size_t name_char = GbkCharLength(name, 0);
  if (pattern.front() == '?') {
    return MatchesWildcard(pattern.substr(1), name.substr(name_char));
  }
  const std::size_t pattern_char = GbkCharLength(pattern, 0);
  return EqualIgnoringAsciiCase(pattern.substr(0, pattern_char), name.substr(0, name_char)) &&
         MatchesWildcard(pattern.substr(pattern_char), name.substr(name_char));
}

}  // namespace

bool WriteFileContent(const Text& path, std::string_view content) {
  FileDescriptor file(
      ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (file.get() < 0) {
    return false;
  }
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t written = ::write(file.get(), content.data() + done, content.size() - done);
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return false;
    }
    done += static_cast<std::size_t>(written);
  }
  return file.Close();
}

bool CreateFolder(const Text& path) {
  const Text native = NativePath(path);
  if (::mkdir(native.c_str(), 0777) == 0) {
    return true;
  }
  struct stat info {};
  return ::stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::vector<Text> FindFiles(const Text& pattern) {
  const Text native = NativePath(pattern);
  const std::size_t slash = native.rfind('/');
  const Text folder = slash == Text::npos ? Text(".") : native.substr(0, slash + 1);
  const std::string_view wildcard =
      std::string_view(native).substr(slash == Text::npos ? 0 : slash + 1);
  std::vector<Text> names;
  const std::unique_ptr<DIR, DirectoryCloser> directory(::opendir(folder.c_str()));
  if (!directory) {
    return names;
  }
  while (const dirent* entry = ::readdir(directory.get())) {
    const std::string_view name(entry->d_name);
    if (!MatchesWildcard(wildcard, name)) {
      continue;
    }
    struct stat info {};
    const Text full = folder + (slash == Text::npos ? "/" : "") + Text(name);
    if (::stat(full.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) {
      names.emplace_back(name);
    }
  }
  return names;
}

bool RemoveFile(const Text& path) {
  return ::unlink(NativePath(path).c_str()) == 0;
}

bool RenameFileNoReplace(const Text& from, const Text& to) {
  const Text source = NativePath(from);
  const Text target = NativePath(to);
  // A second name, which the system refuses when `to` exists, then the first one goes.
  if (::link(source.c_str(), target.c_str()) == 0) {
    return ::unlink(source.c_str()) == 0 || (::unlink(target.c_str()), false);
  }
  if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP) {
    return false;
  }
  // A file system without hard links: rename, after looking.
  struct stat existing {};
  return ::lstat(target.c_str(), &existing) != 0 && errno == ENOENT &&
         ::rename(source.c_str(), target.c_str()) == 0;
}

bool FlushFolderOf(const Text& path) {
  const Text native = NativePath(path);
  const std::size_t slash = native.rfind('/');
  const Text folder = slash == Text::npos ? Text(".") : native.substr(0, slash + 1);
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) {
    return false;
  }
  const bool flushed = ::fsync(descriptor) == 0;
  ::close(descriptor);
  return flushed;
}

Text SystemPath(const Text& path) {
  return NativePath(path);
}

}  // namespace lumora::platform
