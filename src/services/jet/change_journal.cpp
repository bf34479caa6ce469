#include "services/jet/change_journal.h"

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/files.h"
#include "services/jet/disk_writes.h"
#include "services/jet/failure.h"

namespace lumora::jet {
namespace {

constexpr std::array<std::uint8_t, 8> kMagic = {'L', 'u', 'm', 'o', 'r', 'a', 'J', '2'};
constexpr std::size_t kHeaderBytes = 8 + 8 + 8 + 8 + 4;
constexpr std::size_t kRangeHeaderBytes = 8 + 4 + 4;
constexpr std::size_t kChecksumBytes = 8;
constexpr std::size_t kSector = 512;
// The bytes of the file's header page that identify it: Jet's pages are 2048 or 4096 bytes.
constexpr std::uint64_t kIdentityBytes = 4096;
// Names tried for a journal set aside.
constexpr int kSetAsideNames = 1000;

std::uint64_t Checksum(std::span<const std::uint8_t> bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const std::uint8_t byte : bytes) {
    hash = (hash ^ byte) * 1099511628211ull;
  }
  return hash;
}

void PutNumber(Bytes& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }
}

std::uint64_t GetNumber(std::span<const std::uint8_t> in, std::size_t at, int bytes) {
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) {
    value |= static_cast<std::uint64_t>(in[at + i]) << (8 * i);
  }
  return value;
}

std::size_t SectorCount(std::uint64_t length) {
  return static_cast<std::size_t>((length + kSector - 1) / kSector);
}

struct Range {
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
  // Per sector: the checksum of its bytes before the change (the part before the old size) and
  // after it.
  std::vector<std::pair<std::uint64_t, std::uint64_t>> sums;
  Bytes original;
};

struct Journal {
  std::uint64_t old_size = 0;
  std::uint64_t new_size = 0;
  std::uint64_t header_sum = 0;
  std::vector<Range> ranges;
};

// The journal's content when it is whole, its checksum holds and its ranges lie in order inside
// the new size.
std::optional<Journal> ParseJournal(const Bytes& bytes) {
  if (bytes.size() < kHeaderBytes + kChecksumBytes ||
      !std::equal(kMagic.begin(), kMagic.end(), bytes.begin())) {
    return std::nullopt;
  }
  const std::size_t body = bytes.size() - kChecksumBytes;
  if (GetNumber(bytes, body, 8) != Checksum(std::span(bytes).first(body))) {
    return std::nullopt;
  }
  Journal journal;
  journal.old_size = GetNumber(bytes, 8, 8);
  journal.new_size = GetNumber(bytes, 16, 8);
  journal.header_sum = GetNumber(bytes, 24, 8);
  const std::uint64_t count = GetNumber(bytes, 32, 4);
  if (journal.old_size == 0 || journal.new_size < journal.old_size) {
    return std::nullopt;
  }
  std::size_t at = kHeaderBytes;
  std::uint64_t end_of_last = 0;
  for (std::uint64_t index = 0; index < count; ++index) {
    if (body - at < kRangeHeaderBytes) {
      return std::nullopt;
    }
    Range range;
    range.offset = GetNumber(bytes, at, 8);
    range.length = GetNumber(bytes, at + 8, 4);
    const std::uint64_t original = GetNumber(bytes, at + 12, 4);
    at += kRangeHeaderBytes;
    const std::uint64_t expected_original =
        range.offset < journal.old_size ? std::min(range.length, journal.old_size - range.offset)
                                        : 0;
    if (range.length == 0 || range.offset < end_of_last || range.offset > journal.new_size ||
        range.length > journal.new_size - range.offset || original != expected_original) {
      return std::nullopt;
    }
    const std::size_t sectors = SectorCount(range.length);
    if ((body - at) / 16 < sectors || body - at - sectors * 16 < original) {
      return std::nullopt;
    }
    for (std::size_t sector = 0; sector < sectors; ++sector, at += 16) {
      range.sums.emplace_back(GetNumber(bytes, at, 8), GetNumber(bytes, at + 8, 8));
    }
    range.original.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                          bytes.begin() + static_cast<std::ptrdiff_t>(at + original));
    at += original;
    end_of_last = range.offset + range.length;
    journal.ranges.push_back(std::move(range));
  }
  return at == body ? std::optional<Journal>(std::move(journal)) : std::nullopt;
}

// Reads `out.size()` bytes of the file at an offset; false when they are not all there.
using ReadAt = std::function<bool(std::uint64_t, std::span<std::uint8_t>)>;

bool AllZero(std::span<const std::uint8_t> bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

// Whether the journal was written for the file of `size` bytes that `read` reads, at the moment
// of the change that the file now holds whole, in part or not at all.
bool Belongs(const Journal& journal, std::uint64_t size, const ReadAt& read) {
  if (size < journal.old_size || size > journal.new_size) {
    return false;
  }
  const std::uint64_t identity = std::min(journal.old_size, kIdentityBytes);
  const bool header_changed = !journal.ranges.empty() && journal.ranges.front().offset < identity;
  Bytes bytes(identity);
  if (!header_changed && (!read(0, bytes) || Checksum(bytes) != journal.header_sum)) {
    return false;
  }
  // Everything past the old size must come from the change: it is cut away on playback.
  std::uint64_t covered = journal.old_size;
  for (const Range& range : journal.ranges) {
    if (range.offset > covered && range.offset < size) {
      return false;
    }
    covered = std::max(covered, range.offset + range.length);
    for (std::size_t sector = 0; sector < range.sums.size(); ++sector) {
      const std::uint64_t start = range.offset + sector * kSector;
      const std::uint64_t end = std::min(start + kSector, range.offset + range.length);
      if (end > size) {
        // Written at most in part: only what the change added may be missing.
        if (start < journal.old_size) {
          return false;
        }
        continue;
      }
      bytes.resize(end - start);
      if (!read(start, bytes)) {
        return false;
      }
      if (Checksum(bytes) == range.sums[sector].second) {
        continue;
      }
      if (start >= journal.old_size) {
        if (!AllZero(bytes)) {
          return false;
        }
        continue;
      }
      const std::uint64_t old_end = std::min(end, journal.old_size);
      if (Checksum(std::span(bytes).first(old_end - start)) != range.sums[sector].first) {
        return false;
      }
    }
  }
  return covered >= size;
}

std::optional<Bytes> ReadWhole(const platform::LockedFile& file) {
  Bytes bytes(file.Size());
  if (!file.Read(0, bytes)) {
    return std::nullopt;
  }
  return bytes;
}

// The journal's bytes; nullopt when there is none, `unreadable` set when there is one that cannot
// be read.
std::optional<Bytes> ReadJournal(const Text& journal, bool& unreadable) {
  unreadable = false;
  if (!platform::FileExists(journal)) {
    return std::nullopt;
  }
  std::unique_ptr<platform::LockedFile> file =
      platform::OpenLockedFile(journal, platform::OpenMode::kRead);
  std::optional<Bytes> bytes = file ? ReadWhole(*file) : std::nullopt;
  unreadable = !bytes;
  return bytes;
}

// Appends a range's entry to the journal: its place, the original bytes' length, the checksums
// of each sector before and after, the original bytes.
void AddRange(
    Bytes& bytes, std::uint64_t offset, std::uint64_t length, const Bytes& original,
    const std::function<std::span<const std::uint8_t>(std::uint64_t, std::size_t)>& data) {
  const std::size_t kept = original.size();
  PutNumber(bytes, offset, 8);
  PutNumber(bytes, length, 4);
  PutNumber(bytes, kept, 4);
  for (std::size_t sector = 0; sector < SectorCount(length); ++sector) {
    const std::size_t start = sector * kSector;
    const std::size_t end =
        static_cast<std::size_t>(std::min<std::uint64_t>(start + kSector, length));
    const std::span<const std::uint8_t> before(original);
    PutNumber(bytes,
              start < kept ? Checksum(before.subspan(start, std::min(end, kept) - start)) : 0, 8);
    PutNumber(bytes, Checksum(data(start, end - start)), 8);
  }
  bytes.insert(bytes.end(), original.begin(), original.end());
}

}  // namespace

bool WriteJournal(const Text& journal, const platform::LockedFile& database,
                  const ChangedRanges& changes, const AddedBytes& added) {
  const std::uint64_t old_size = database.Size();
  std::uint64_t new_size = old_size;
  Bytes header(std::min(old_size, kIdentityBytes));
  JET_REFUSE_IF(!database.Read(0, header), "the file's header could not be read for the journal");
  Bytes bytes(kMagic.begin(), kMagic.end());
  PutNumber(bytes, old_size, 8);
  const std::size_t new_size_at = bytes.size();
  PutNumber(bytes, 0, 8);
  PutNumber(bytes, Checksum(header), 8);
  PutNumber(bytes, changes.size() + (added.length > 0 ? 1 : 0), 4);
  Bytes original;
  for (const auto& [offset, data] : changes) {
    // Only what existed before can be put back; what lies beyond goes with the old size.
    const std::uint64_t kept =
        offset < old_size ? std::min<std::uint64_t>(data.size(), old_size - offset) : 0;
    original.resize(kept);
    JET_REFUSE_IF(kept > 0 && !database.Read(offset, original),
                  "the bytes a change overwrites could not be read");
    const std::span<const std::uint8_t> changed(data);
    AddRange(bytes, offset, data.size(), original,
             [changed](std::uint64_t at, std::size_t count) { return changed.subspan(at, count); });
    new_size = std::max<std::uint64_t>(new_size, offset + data.size());
  }
  if (added.length > 0) {
    Bytes sector;
    bool read = true;
    AddRange(bytes, added.offset, added.length, {}, [&](std::uint64_t at, std::size_t count) {
      sector.resize(count);
      read = read && added.read(added.offset + at, sector);
      return std::span<const std::uint8_t>(sector);
    });
    JET_REFUSE_IF(!read, "the pages a change adds could not be read back");
    new_size = std::max(new_size, added.offset + added.length);
  }
  for (int i = 0; i < 8; ++i) {
    bytes[new_size_at + i] = static_cast<std::uint8_t>(new_size >> (8 * i));
  }
  PutNumber(bytes, Checksum(bytes), 8);
  // A journal left by an earlier, recovered run has been dealt with already.
  platform::RemoveFile(journal);
  std::unique_ptr<platform::LockedFile> file =
      platform::OpenLockedFile(journal, platform::OpenMode::kCreateNew);
  JET_REFUSE_IF(!file, "the journal could not be created beside the file");
  const std::size_t allowed = DiskBytesAllowed(bytes.size());
  JET_REFUSE_IF(
      (allowed > 0 && !file->Write(0, std::span<const std::uint8_t>(bytes.data(), allowed))) ||
          allowed != bytes.size(),
      "the journal could not be written whole");
  // The new file's entry in the folder is made durable too: a journal lost with it would leave a
  // half-written database nobody can repair.
  JET_REFUSE_IF(!DiskWriteAllowed() || !file->Flush() || !DiskWriteAllowed() ||
                    !platform::FlushFolderOf(journal),
                "the journal could not be made durable");
  return true;
}

Text JournalPath(const Text& database) {
  return database + "-journal";
}

bool SetAsideJournal(const Text& journal, Text& set_aside_as) {
  for (int number = 1; number <= kSetAsideNames; ++number) {
    const Text name = journal + ".other-" + std::to_string(number);
    if (platform::FileExists(name)) {
      continue;
    }
    if (!platform::RenameFileNoReplace(journal, name)) {
      return false;
    }
    platform::FlushFolderOf(name);
    set_aside_as = name;
    return true;
  }
  return false;
}

JournalOutcome RecoverFromJournal(const Text& journal, platform::LockedFile& database) {
  JournalOutcome outcome;
  bool unreadable = false;
  const std::optional<Bytes> bytes = ReadJournal(journal, unreadable);
  if (unreadable) {
    outcome.kind = JournalOutcome::Kind::kStuck;
    outcome.error = platform::LastFileError();
    return outcome;
  }
  if (!bytes) {
    return outcome;
  }
  const std::optional<Journal> parsed = ParseJournal(*bytes);
  const auto stuck = [&outcome] {
    outcome.kind = JournalOutcome::Kind::kStuck;
    if (outcome.error == platform::FileError::kNone) {
      outcome.error = platform::LastFileError() == platform::FileError::kNone
                          ? platform::FileError::kOther
                          : platform::LastFileError();
    }
    return outcome;
  };
  if (!parsed) {
    // Never acted on: the database is written only once its journal is whole.
    return RetireJournal(journal) ? outcome : stuck();
  }
  const auto read = [&database](std::uint64_t offset, std::span<std::uint8_t> out) {
    return database.Read(offset, out);
  };
  if (!Belongs(*parsed, database.Size(), read)) {
    if (!SetAsideJournal(journal, outcome.set_aside_as)) {
      return stuck();
    }
    outcome.kind = JournalOutcome::Kind::kSetAside;
    return outcome;
  }
  for (const Range& range : parsed->ranges) {
    if (!range.original.empty() &&
        (!DiskWriteAllowed() || !database.Write(range.offset, range.original))) {
      return stuck();
    }
  }
  if (!DiskWriteAllowed() || !database.Truncate(parsed->old_size) || !DiskWriteAllowed() ||
      !database.Flush() || !RetireJournal(journal)) {
    return stuck();
  }
  outcome.kind = JournalOutcome::Kind::kPlayedBack;
  return outcome;
}

bool UndoInMemory(const Text& journal, Bytes& file) {
  bool unreadable = false;
  const std::optional<Bytes> bytes = ReadJournal(journal, unreadable);
  const std::optional<Journal> parsed = bytes ? ParseJournal(*bytes) : std::nullopt;
  const auto read = [&file](std::uint64_t offset, std::span<std::uint8_t> out) {
    if (offset > file.size() || out.size() > file.size() - offset) {
      return false;
    }
    std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
    return true;
  };
  if (!parsed || !Belongs(*parsed, file.size(), read)) {
    return false;
  }
  for (const Range& range : parsed->ranges) {
    std::copy(range.original.begin(), range.original.end(),
              file.begin() + static_cast<std::ptrdiff_t>(range.offset));
  }
  file.resize(parsed->old_size);
  return true;
}

bool RetireJournal(const Text& journal) {
  if (!DiskWriteAllowed()) {
    return false;
  }
  if (platform::RemoveFile(journal) || !platform::FileExists(journal)) {
    // Durably gone, so that a power cut cannot bring it back to undo the change. Should the
    // folder not sync, the change is in the file all the same.
    if (DiskWriteAllowed()) {
      platform::FlushFolderOf(journal);
    }
    return true;
  }
  // All of it: the original bytes it holds may be a deleted server's password.
  std::unique_ptr<platform::LockedFile> file =
      platform::OpenLockedFile(journal, platform::OpenMode::kExisting);
  const Bytes wiped(file ? file->Size() : 0, 0);
  return file && file->Write(0, wiped) && file->Flush();
}

}  // namespace lumora::jet
