// Where the bytes of a database file come from: a file on disk or a buffer in memory. Reads
// outside the source fail instead of returning short data.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "base/text.h"

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

// Opens the file for reading. `path` is a program-style path, passed to the C++ library as
// given. Empty when the file cannot be opened.
std::unique_ptr<PageSource> OpenFileSource(const Text& path);

// Opens the file for reading and writing and holds the writer's lock on it until the source
// is destroyed. Empty when the file cannot be opened or another writer has it open; with
// `create`, empty when the file already exists.
std::unique_ptr<PageSource> OpenWritableFileSource(const Text& path, bool create = false);

// A source over bytes held in memory (tests and fuzzing).
std::unique_ptr<PageSource> MemorySource(Bytes bytes);

}  // namespace lumora::jet
