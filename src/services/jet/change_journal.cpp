#include "services/jet/change_journal.h"

#include <algorithm>
#include <array>
#include <memory>
#include <span>

#include "platform/files.h"
#include "services/jet/disk_writes.h"

namespace lumora::jet {
namespace {

constexpr std::array<std::uint8_t, 8> kMagic = {'L', 'u', 'm', 'o', 'r', 'a', 'J', '1'};
constexpr std::size_t kHeaderBytes = 8 + 8 + 4;
constexpr std::size_t kRangeHeaderBytes = 8 + 4;
constexpr std::size_t kChecksumBytes = 8;

std::uint64_t Checksum(const Bytes& bytes, std::size_t length) {
  std::uint64_t hash = 14695981039346656037ull;
  for (std::size_t i = 0; i < length; ++i) {
    hash = (hash ^ bytes[i]) * 1099511628211ull;
  }
  return hash;
}

void PutNumber(Bytes& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }
}

std::uint64_t GetNumber(const Bytes& in, std::size_t at, int bytes) {
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) {
    value |= static_cast<std::uint64_t>(in[at + i]) << (8 * i);
  }
  return value;
}

struct Journal {
  std::uint64_t old_size = 0;
  ChangedRanges originals;
};

// The journal's content when it is whole and its checksum holds.
std::optional<Journal> ParseJournal(const Bytes& bytes) {
  if (bytes.size() < kHeaderBytes + kChecksumBytes ||
      !std::equal(kMagic.begin(), kMagic.end(), bytes.begin())) {
    return std::nullopt;
  }
  const std::size_t body = bytes.size() - kChecksumBytes;
  if (GetNumber(bytes, body, 8) != Checksum(bytes, body)) {
    return std::nullopt;
  }
  Journal journal;
  journal.old_size = GetNumber(bytes, 8, 8);
  const std::uint64_t ranges = GetNumber(bytes, 16, 4);
  std::size_t at = kHeaderBytes;
  for (std::uint64_t range = 0; range < ranges; ++range) {
    if (body - at < kRangeHeaderBytes) {
      return std::nullopt;
    }
    const std::uint64_t offset = GetNumber(bytes, at, 8);
    const std::uint64_t length = GetNumber(bytes, at + 8, 4);
    at += kRangeHeaderBytes;
    if (body - at < length) {
      return std::nullopt;
    }
    journal.originals[offset].assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                     bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
    at += length;
  }
  return at == body ? std::optional<Journal>(std::move(journal)) : std::nullopt;
}

std::optional<Bytes> ReadWhole(const platform::LockedFile& file) {
  Bytes bytes(file.Size());
  if (!file.Read(0, bytes)) {
    return std::nullopt;
  }
  return bytes;
}

}  // namespace

Text JournalPath(const Text& database) {
  return database + "-journal";
}

bool WriteJournal(const Text& journal, const platform::LockedFile& database,
                  const ChangedRanges& changes) {
  const std::uint64_t old_size = database.Size();
  Bytes bytes(kMagic.begin(), kMagic.end());
  PutNumber(bytes, old_size, 8);
  const std::size_t count_at = bytes.size();
  PutNumber(bytes, 0, 4);
  std::uint32_t count = 0;
  for (const auto& [offset, data] : changes) {
    // Only what existed before can be put back; what lies beyond goes with the old size.
    if (offset >= old_size) {
      continue;
    }
    const std::uint64_t length = std::min<std::uint64_t>(data.size(), old_size - offset);
    Bytes original(length);
    if (!database.Read(offset, original)) {
      return false;
    }
    PutNumber(bytes, offset, 8);
    PutNumber(bytes, length, 4);
    bytes.insert(bytes.end(), original.begin(), original.end());
    ++count;
  }
  for (int i = 0; i < 4; ++i) {
    bytes[count_at + i] = static_cast<std::uint8_t>(count >> (8 * i));
  }
  PutNumber(bytes, Checksum(bytes, bytes.size()), 8);
  // A journal left by an earlier, recovered run has been dealt with already.
  platform::RemoveFile(journal);
  std::unique_ptr<platform::LockedFile> file =
      platform::OpenLockedFile(journal, platform::OpenMode::kCreateNew);
  if (!file) {
    return false;
  }
  const std::size_t allowed = DiskBytesAllowed(bytes.size());
  if (allowed > 0 && !file->Write(0, std::span<const std::uint8_t>(bytes.data(), allowed))) {
    return false;
  }
  // The new file's entry in the folder is made durable too: a journal lost with it would leave a
  // half-written database nobody can repair.
  return allowed == bytes.size() && DiskWriteAllowed() && file->Flush() && DiskWriteAllowed() &&
         platform::FlushFolderOf(journal);
}

bool RecoverFromJournal(const Text& journal, platform::LockedFile& database) {
  if (!platform::FileExists(journal)) {
    return true;
  }
  std::optional<Journal> parsed;
  {
    std::unique_ptr<platform::LockedFile> file =
        platform::OpenLockedFile(journal, platform::OpenMode::kExisting);
    if (!file) {
      return false;
    }
    if (const std::optional<Bytes> bytes = ReadWhole(*file)) {
      parsed = ParseJournal(*bytes);
    }
  }
  if (parsed) {
    for (const auto& [offset, original] : parsed->originals) {
      if (!DiskWriteAllowed() || !database.Write(offset, original)) {
        return false;
      }
    }
    if (!DiskWriteAllowed() || !database.Truncate(parsed->old_size) || !DiskWriteAllowed() ||
        !database.Flush()) {
      return false;
    }
  }
  return RetireJournal(journal);
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
  std::unique_ptr<platform::LockedFile> file =
      platform::OpenLockedFile(journal, platform::OpenMode::kExisting);
  const Bytes wiped(kMagic.size(), 0);
  return file && file->Write(0, wiped) && file->Flush();
}

}  // namespace lumora::jet
