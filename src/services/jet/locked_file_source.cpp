#include <algorithm>
#include <span>

#include "platform/files.h"
#include "platform/locked_file.h"
#include "services/jet/change_journal.h"
#include "services/jet/disk_writes.h"
#include "services/jet/page_source.h"

namespace lumora::jet {
namespace {

// The database file for writing. Inside a change the writes wait in memory; the commit journals
// the bytes they overwrite, then writes them (see change_journal.h).
// The change lock held alone for as long as it lives.
struct ChangeLock {
  explicit ChangeLock(platform::LockedFile& locked)
      : file(locked), held(locked.LockChanges(true, true)) {}
  ~ChangeLock() {
    if (held) {
      file.UnlockChanges();
    }
  }
  ChangeLock(const ChangeLock&) = delete;
  ChangeLock& operator=(const ChangeLock&) = delete;

  platform::LockedFile& file;
  const bool held;
};

class LockedFileSource final : public PageSource {
 public:
  LockedFileSource(std::unique_ptr<platform::LockedFile> file, Text journal)
      : file_(std::move(file)), journal_(std::move(journal)) {}

  std::uint64_t Size() const override {
    std::uint64_t size = file_->Size();
    if (!pending_.empty()) {
      const auto& [offset, data] = *pending_.rbegin();
      size = std::max<std::uint64_t>(size, offset + data.size());
    }
    return size;
  }

  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    const std::uint64_t end = offset + out.size();
    if (end > Size()) {
      return false;
    }
    const std::uint64_t on_disk = std::min<std::uint64_t>(end, file_->Size());
    if (offset < on_disk && !file_->Read(offset, out.first(on_disk - offset))) {
      return false;
    }
    // Pending writes are whole, non-overlapping ranges; copy each one that meets the read.
    auto range = pending_.upper_bound(offset);
    if (range != pending_.begin()) {
      --range;
    }
    for (; range != pending_.end() && range->first < end; ++range) {
      const auto& [start, data] = *range;
      const std::uint64_t from = std::max(start, offset);
      const std::uint64_t to = std::min<std::uint64_t>(start + data.size(), end);
      if (from < to) {
        std::copy(data.begin() + static_cast<std::ptrdiff_t>(from - start),
                  data.begin() + static_cast<std::ptrdiff_t>(to - start),
                  out.begin() + static_cast<std::ptrdiff_t>(from - offset));
      }
    }
    return true;
  }

  bool Writable() const override { return true; }

  bool Write(std::uint64_t offset, std::span<const std::uint8_t> data) override {
    if (!in_change_) {
      return DiskWriteAllowed() && file_->Write(offset, data);
    }
    // The engine writes whole pages, always at the same offsets: a range written again is
    // replaced, any other overlap is refused.
    const auto same = pending_.find(offset);
    if (same != pending_.end() && same->second.size() == data.size()) {
      same->second.assign(data.begin(), data.end());
      return true;
    }
    const auto next = pending_.lower_bound(offset);
    if ((next != pending_.end() && next->first < offset + data.size()) ||
        (next != pending_.begin() &&
         std::prev(next)->first + std::prev(next)->second.size() > offset)) {
      return false;
    }
    pending_.emplace(offset, Bytes(data.begin(), data.end()));
    return true;
  }

  // Inside a change the order of writes no longer matters: the commit makes them durable at once.
  bool Flush() override { return in_change_ || (DiskWriteAllowed() && file_->Flush()); }

  void BeginChange() override {
    pending_.clear();
    in_change_ = true;
  }

  bool CommitChange() override {
    in_change_ = false;
    ChangedRanges changes = std::move(pending_);
    pending_.clear();
    if (changes.empty()) {
      return true;
    }
    // Readers read between changes, never during one.
    const ChangeLock lock(*file_);
    if (!lock.held) {
      return false;
    }
    if (!WriteJournal(journal_, *file_, changes)) {
      RetireJournal(journal_);
      return false;
    }
    bool written = true;
    for (const auto& [offset, data] : changes) {
      written = written && WriteAllowedPart(offset, data);
    }
    if (written && DiskWriteAllowed() && file_->Flush()) {
      return RetireJournal(journal_);
    }
    // Cut short: put back what was there, from the journal just written.
    RecoverFromJournal(journal_, *file_);
    return false;
  }

  // The write as far as the disk takes it (tests cut it short); true only when all of it went.
  bool WriteAllowedPart(std::uint64_t offset, const Bytes& data) {
    const std::size_t allowed = DiskBytesAllowed(data.size());
    const std::span<const std::uint8_t> part(data.data(), allowed);
    return (allowed == 0 || file_->Write(offset, part)) && allowed == data.size();
  }

  void AbandonChange() override {
    in_change_ = false;
    pending_.clear();
  }

 private:
  std::unique_ptr<platform::LockedFile> file_;
  Text journal_;
  bool in_change_ = false;
  ChangedRanges pending_;
};

}  // namespace

std::unique_ptr<PageSource> OpenWritableFileSource(const Text& path, bool create,
                                                   OpenReport* report) {
  OpenReport ignored;
  OpenReport& told = report != nullptr ? *report : ignored;
  std::unique_ptr<platform::LockedFile> file = platform::OpenLockedFile(
      path, create ? platform::OpenMode::kCreateNew : platform::OpenMode::kExisting);
  if (!file) {
    told.error = platform::LastFileError();
    return nullptr;
  }
  // A change that an earlier run could not finish is undone before anything is read.
  const Text journal = JournalPath(path);
  if (!create && platform::FileExists(journal)) {
    const ChangeLock lock(*file);
    told.journal = lock.held ? RecoverFromJournal(journal, *file)
                             : JournalOutcome{.kind = JournalOutcome::Kind::kStuck,
                                              .error = platform::LastFileError()};
    if (!told.journal.Usable()) {
      told.error = told.journal.error;
      return nullptr;
    }
  }
  return std::make_unique<LockedFileSource>(std::move(file), journal);
}

std::unique_ptr<PageSource> OpenSnapshotSource(const Text& path, OpenReport* report) {
  std::unique_ptr<platform::LockedFile> file =
      platform::OpenLockedFile(path, platform::OpenMode::kRead);
  if (!file) {
    if (report != nullptr) {
      report->error = platform::LastFileError();
    }
    return nullptr;
  }
  if (!file->LockChanges(false, true)) {
    return nullptr;
  }
  Bytes bytes(file->Size());
  const bool read = file->Read(0, bytes);
  // Under the lock no change is under way: a journal there is one a writer left when it died.
  if (read && platform::FileExists(JournalPath(path))) {
    UndoInMemory(JournalPath(path), bytes);
  }
  file->UnlockChanges();
  return read ? MemorySource(std::move(bytes)) : nullptr;
}

}  // namespace lumora::jet
