#include <algorithm>
#include <span>

#include "platform/files.h"
#include "platform/locked_file.h"
#include "services/jet/change_journal.h"
#include "services/jet/disk_writes.h"
#include "services/jet/failure.h"
#include "services/jet/page_source.h"

namespace lumora::jet {
namespace {

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

// Pages a change adds past the file's end are held in memory up to PendingBytesInMemory(); beyond
// it they go to a file of their own beside the database until the commit, so that a big change (an
// import of many rows) needs no memory of the size of the rows. They are copied over in chunks.
constexpr std::size_t kCopyChunk = 1u << 20;

// The database file for writing. Inside a change the writes wait in memory (the pages it adds,
// once they are many, in the spill file); the commit journals the bytes they overwrite, then
// writes them (see change_journal.h).
class LockedFileSource final : public PageSource {
 public:
  LockedFileSource(std::unique_ptr<platform::LockedFile> file, const Text& path)
      : file_(std::move(file)), journal_(JournalPath(path)), spill_path_(path + "-spill") {}
  ~LockedFileSource() override { DropSpill(); }
  LockedFileSource(const LockedFileSource&) = delete;
  LockedFileSource& operator=(const LockedFileSource&) = delete;

  std::uint64_t Size() const override {
    std::uint64_t size = file_->Size();
    if (!pending_.empty()) {
      const auto& [offset, data] = *pending_.rbegin();
      size = std::max<std::uint64_t>(size, offset + data.size());
    }
    return spill_ ? std::max(size, base_size_ + spilled_) : size;
  }

  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    const std::uint64_t end = offset + out.size();
    if (end > Size()) {
      return false;
    }
    // What lies in the spill file is read from there, the rest from the file and memory.
    if (spill_ && end > base_size_) {
      const std::uint64_t from = std::max(offset, base_size_);
      if (!spill_->Read(from - base_size_, out.subspan(from - offset))) {
        return false;
      }
      out = out.first(from - offset);
      if (out.empty()) {
        return true;
      }
    }
    const std::uint64_t limit = offset + out.size();
    const std::uint64_t on_disk = std::min<std::uint64_t>(limit, file_->Size());
    if (offset < on_disk && !file_->Read(offset, out.first(on_disk - offset))) {
      return false;
    }
    // Pending writes are whole, non-overlapping ranges; copy each one that meets the read.
    auto range = pending_.upper_bound(offset);
    if (range != pending_.begin()) {
      --range;
    }
    for (; range != pending_.end() && range->first < limit; ++range) {
      const auto& [start, data] = *range;
      const std::uint64_t from = std::max(start, offset);
      const std::uint64_t to = std::min<std::uint64_t>(start + data.size(), limit);
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
    if (spill_ && offset >= base_size_) {
      JET_REFUSE_IF(!spill_->Write(offset - base_size_, data),
                    "the change's spill file could not be written");
      spilled_ = std::max<std::uint64_t>(spilled_, offset - base_size_ + data.size());
      return true;
    }
    // The engine writes whole pages, always at the same offsets: a range written again is
    // replaced, any other overlap is refused.
    const auto same = pending_.find(offset);
    if (same != pending_.end() && same->second.size() == data.size()) {
      same->second.assign(data.begin(), data.end());
      return true;
    }
    const auto next = pending_.lower_bound(offset);
    JET_REFUSE_IF((next != pending_.end() && next->first < offset + data.size()) ||
                      (next != pending_.begin() &&
                       std::prev(next)->first + std::prev(next)->second.size() > offset),
                  "a write overlaps part of another write of the change");
    pending_.emplace(offset, Bytes(data.begin(), data.end()));
    pending_bytes_ += data.size();
    return pending_bytes_ <= PendingBytesInMemory() || spill_ || StartSpill();
  }

  // Inside a change the order of writes no longer matters: the commit makes them durable at once.
  bool Flush() override { return in_change_ || (DiskWriteAllowed() && file_->Flush()); }

  void BeginChange() override {
    pending_.clear();
    pending_bytes_ = 0;
    DropSpill();
    base_size_ = file_->Size();
    in_change_ = true;
  }

  bool CommitChange() override {
    in_change_ = false;
    ChangedRanges changes = std::move(pending_);
    pending_.clear();
    pending_bytes_ = 0;
    const bool committed = changes.empty() && !spill_ ? true : Commit(changes);
    DropSpill();
    return committed;
  }

  void AbandonChange() override {
    in_change_ = false;
    pending_.clear();
    pending_bytes_ = 0;
    DropSpill();
  }

 private:
  bool Commit(const ChangedRanges& changes) {
    // Readers read between changes, never during one.
    const ChangeLock lock(*file_);
    JET_REFUSE_IF(!lock.held, "the change lock could not be taken");
    AddedBytes added;
    if (spill_) {
      added = {.offset = base_size_,
               .length = spilled_,
               .read = [this](std::uint64_t offset, std::span<std::uint8_t> out) {
                 return spill_->Read(offset - base_size_, out);
               }};
    }
    if (!WriteJournal(journal_, *file_, changes, added)) {
      RetireJournal(journal_);
      JET_REFUSE("the journal could not be written");
    }
    bool written = true;
    for (const auto& [offset, data] : changes) {
      written = written && WriteAllowedPart(offset, data);
    }
    Bytes chunk;
    const std::size_t chunk_size =
        std::min(kCopyChunk, std::max<std::size_t>(4096, PendingBytesInMemory() / 4));
    for (std::uint64_t done = 0; written && done < added.length; done += chunk.size()) {
      chunk.resize(static_cast<std::size_t>(std::min<std::uint64_t>(chunk_size, spilled_ - done)));
      written = spill_->Read(done, chunk) && WriteAllowedPart(base_size_ + done, chunk);
    }
    if (written && DiskWriteAllowed() && file_->Flush()) {
      JET_REFUSE_IF(!RetireJournal(journal_), "the journal could not be removed after the change");
      return true;
    }
    // Cut short: put back what was there, from the journal just written.
    RecoverFromJournal(journal_, *file_);
    JET_REFUSE(written ? "the change could not be made durable in the file"
                       : "the change could not be written into the file");
  }

  // The write as far as the disk takes it (tests cut it short); true only when all of it went.
  bool WriteAllowedPart(std::uint64_t offset, const Bytes& data) {
    const std::size_t allowed = DiskBytesAllowed(data.size());
    const std::span<const std::uint8_t> part(data.data(), allowed);
    return (allowed == 0 || file_->Write(offset, part)) && allowed == data.size();
  }

  // Moves the pending pages past the file's end into a new spill file.
  bool StartSpill() {
    platform::RemoveFile(spill_path_);  // what a run that died left
    spill_ = platform::OpenLockedFile(spill_path_, platform::OpenMode::kCreateNew);
    JET_REFUSE_IF(!spill_, "the change's spill file could not be made");
    spilled_ = 0;
    for (auto range = pending_.lower_bound(base_size_); range != pending_.end();) {
      JET_REFUSE_IF(!spill_->Write(range->first - base_size_, range->second),
                    "the change's spill file could not be written");
      spilled_ =
          std::max<std::uint64_t>(spilled_, range->first - base_size_ + range->second.size());
      pending_bytes_ -= range->second.size();
      range = pending_.erase(range);
    }
    return true;
  }

  void DropSpill() {
    if (spill_) {
      spill_.reset();
      platform::RemoveFile(spill_path_);
    }
    spilled_ = 0;
  }

  std::unique_ptr<platform::LockedFile> file_;
  Text journal_;
  Text spill_path_;
  bool in_change_ = false;
  ChangedRanges pending_;
  std::size_t pending_bytes_ = 0;
  // The file's size when the change began; the spill file holds the bytes from there on.
  std::uint64_t base_size_ = 0;
  std::unique_ptr<platform::LockedFile> spill_;
  std::uint64_t spilled_ = 0;
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
  // What a change that spilled left when its program died is of no use to anyone.
  if (!create && platform::FileExists(path + "-spill")) {
    platform::RemoveFile(path + "-spill");
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
  return std::make_unique<LockedFileSource>(std::move(file), path);
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
