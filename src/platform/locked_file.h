// A file opened for reading and writing by one program at a time: while one is open, a second
// open for writing of the same file fails, here or in another program. Beside that writer's lock
// every such file has a change lock, which readers share while they read and a writer holds alone
// while it brings a change into the file, so that no reader sees a change half made.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "base/text.h"
#include "platform/file_error.h"

namespace lumora::platform {

class LockedFile {
 public:
  virtual ~LockedFile() = default;

  virtual std::uint64_t Size() const = 0;
  // False when any part of the range lies outside the file or the call fails.
  virtual bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;
  // Writes at `offset`; the file grows when the range passes its end.
  virtual bool Write(std::uint64_t offset, std::span<const std::uint8_t> data) = 0;
  // Makes every write so far durable before the next one starts.
  virtual bool Flush() = 0;
  // Cuts the file (or lengthens it with zeros) to `size` bytes.
  virtual bool Truncate(std::uint64_t size) = 0;

  // Takes the change lock: shared (a reader) or exclusive (a writer bringing in a change), waiting
  // for whoever holds it otherwise when `wait`, else false at once. A file opened for reading can
  // take it shared only.
  virtual bool LockChanges(bool exclusive, bool wait) = 0;
  virtual void UnlockChanges() = 0;
};

// kRead opens for reading only, without the writer's lock; its writes fail.
enum class OpenMode { kExisting, kCreateNew, kRead };

// Opens `path` (program-style, GBK) and, unless for reading, takes the writer's lock. Empty (with
// LastFileError saying why) when the file cannot be opened (or, for kCreateNew, already exists),
// is no regular file, is read-only (the file or, for writing, its folder, whatever the user's
// rights would allow), or another writer holds it.
std::unique_ptr<LockedFile> OpenLockedFile(const Text& path, OpenMode mode);

}  // namespace lumora::platform
