// Files and folders. Paths are GBK texts with backslash separators, as the program forms them.
#pragma once

#include "base/text.h"

namespace lumora::platform {

// True when a file or a directory matches `path` (FindFirstFile semantics, no wildcards used).
bool FileExists(const Text& path);

// True when the file exists and this program may not write it (a read-only file, or one whose
// permissions forbid it), whoever else has it open.
bool FileIsReadOnly(const Text& path);

// The directory of the running executable, without a trailing separator.
Text ExecutableDirectory();

// Creates `path`, or empties it when it exists, and writes `content`; nobody else may open the
// file while it is being written. False when it cannot be opened so or a write fails.
bool WriteFileContent(const Text& path, std::string_view content);

// Creates the directory `path` (its parent must exist). True when it exists afterwards.
bool CreateFolder(const Text& path);

// The names (without directory) of the entries that match `pattern`, a path whose last part may
// hold the wildcards "*" and "?" (FindFirstFile semantics, letters in any case); directories are
// left out. Empty when nothing matches or the folder cannot be read.
std::vector<Text> FindFiles(const Text& pattern);

// Deletes the file `path`; false when it is not deleted.
bool RemoveFile(const Text& path);

// Gives the file `from` the name `to`, which must not exist: false (and nothing renamed) when it
// does or the rename fails.
bool RenameFileNoReplace(const Text& from, const Text& to);

// Makes the entries of the folder holding `path` durable: a file just created or removed there
// stays so across a power cut. Where the file system keeps its folders so anyway (Windows), there
// is nothing to do.
bool FlushFolderOf(const Text& path);

// `path` as this system's file calls take it: unchanged on Windows (the ANSI code page reads the
// GBK bytes), with its backslashes turned into slashes elsewhere.
Text SystemPath(const Text& path);

}  // namespace lumora::platform
