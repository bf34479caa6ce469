// Where the bytes of a database file come from: a file on disk or a buffer in memory. Reads
// outside the source fail instead of returning short data.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "base/text.h"
#include "services/jet/change_journal.h"
#include "services/jet/failure.h"

namespace lumora::jet {

class PageSource {
 public:
  virtual ~PageSource() = default;

  virtual std::uint64_t Size() const = 0;
  // Fills `out` from `offset`; false when any part of it lies outside the source or the read
  // fails.
  virtual bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;

  // Sources opened for writing override these; the others refuse every write.
  virtual bool Writable() const { return false; }
  virtual bool Write(std::uint64_t /*offset*/, std::span<const std::uint8_t> /*data*/) {
    return false;
  }
  // Makes the writes so far durable before any later write.
  virtual bool Flush() { return false; }

  // One change made of many writes. Between BeginChange and CommitChange a file source holds the
  // writes back (reads see them); CommitChange brings all of them into the file or, should it
  // fail or the program die on the way, none (a rollback journal beside the file, played back
  // at the next open). AbandonChange forgets them. Other sources write at once.
  virtual void BeginChange() {}
  virtual bool CommitChange() { return true; }
  virtual void AbandonChange() {}
};

// What an open found: why it failed, and what became of a journal beside the file.
struct OpenReport {
  platform::FileError error = platform::FileError::kNone;
  JournalOutcome journal;
  // The check that refused opening the file for writing, or creating it.
  Failure failure;
};

// Opens the file for reading. `path` is a program-style path, passed to the C++ library as
// given. Empty when the file cannot be opened.
std::unique_ptr<PageSource> OpenFileSource(const Text& path);

// The file's bytes as they stand between changes: read whole while no writer brings a change into
// it (waiting for one under way), with the change of a journal that belongs to it undone in memory
// (a writer that died left it, and another program holds the file so that it cannot be played
// back). Empty when the file cannot be opened or is no regular file.
std::unique_ptr<PageSource> OpenSnapshotSource(const Text& path, OpenReport* report = nullptr);

// Opens the file for reading and writing and holds the writer's lock on it until the source
// is destroyed, after dealing with a journal beside it (see RecoverFromJournal). Empty when the
// file cannot be opened, another writer has it open, or a journal beside it is stuck; with
// `create`, empty when the file already exists.
std::unique_ptr<PageSource> OpenWritableFileSource(const Text& path, bool create = false,
                                                   OpenReport* report = nullptr);

// A source over bytes held in memory (tests and fuzzing).
std::unique_ptr<PageSource> MemorySource(Bytes bytes);

}  // namespace lumora::jet
