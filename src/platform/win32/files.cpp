#include "platform/files.h"

#include <windows.h>

#include <string>

#include "platform/win32/unique_handle.h"

namespace lumora::platform {

bool FileExists(const Text& path) {
  WIN32_FIND_DATAA data{};
  const win32::UniqueFindHandle find(::FindFirstFileA(path.c_str(), &data));
  return find.valid();
}

bool FileIsReadOnly(const Text& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

Text ExecutableDirectory() {
  std::string name(MAX_PATH, '\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameA(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) {
      return {};
    }
    // A name that fills the whole buffer may have been cut short.
    if (length < name.size()) {
      name.resize(length);
      break;
    }
    if (name.size() >= 32768 * 2) {
      return {};
    }
    name.resize(name.size() * 2);
  }
  // The second byte of a double-byte character can be 0x5C; only a whole character separates.
  std::size_t separator = Text::npos;
  for (std::size_t i = 0; i < name.size(); i += GbkCharLength(name, i)) {
    if (name[i] == '\\') {
      separator = i;
    }
  }
  if (separator == Text::npos) {
    return {};
  }
  name.resize(separator);
  return name;
}

bool WriteFileContent(const Text& path, std::string_view content) {
  const win32::UniqueKernelHandle file(::CreateFileA(
      path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    return false;
  }
  std::size_t done = 0;
  while (done < content.size()) {
    DWORD written = 0;
    const DWORD want = static_cast<DWORD>(content.size() - done);
    if (!::WriteFile(file.get(), content.data() + done, want, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

bool CreateFolder(const Text& path) {
  if (::CreateDirectoryA(path.c_str(), nullptr)) {
    return true;
  }
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<Text> FindFiles(const Text& pattern) {
  std::vector<Text> names;
  WIN32_FIND_DATAA entry{};
  const win32::UniqueFindHandle find(::FindFirstFileA(pattern.c_str(), &entry));
  if (!find) {
    return names;
  }
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      names.emplace_back(entry.cFileName);
    }
  } while (::FindNextFileA(find.get(), &entry));
  return names;
}

bool RemoveFile(const Text& path) {
  return ::DeleteFileA(path.c_str()) != 0;
}

Text SystemPath(const Text& path) {
  return path;
}

bool RenameFileNoReplace(const Text& from, const Text& to) {
  // Without MOVEFILE_REPLACE_EXISTING the move fails when `to` exists.
  return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

bool FlushFolderOf(const Text&) {
  // NTFS and FAT keep their folder entries through their own journal or at once; there is no
  // call that syncs a folder.
  return true;
}

}  // namespace lumora::platform
