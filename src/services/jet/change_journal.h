// The rollback journal of the built-in engine's writes: a file beside the database
// ("mstsc.mdb-journal") holding the original bytes of every range that one change overwrites,
// and the file's size before it. It is written and flushed before the first byte of the change
// reaches the database, and removed once the change is durable in it, so a journal found at the
// next open means a change was cut short: its original bytes are written back and the file cut to
// its old size. A journal that is itself incomplete or damaged (its checksum fails) was never
// acted on, since the database is touched only after the whole journal is durable: it is removed
// and the database used as it is.
//
// A journal also says which file it belongs to, so that it is never played onto another file put
// in place under the same name (a backup restored, a catalogue copied from another computer, one
// deleted and created anew): the file's size before and after the change, a checksum of its
// header bytes before it, and for every 512 bytes of every range checksums of both the old and the
// new bytes. It is played back only when the file's size lies between the two and every such
// sector holds its old or its new bytes (beyond the old size: its new bytes, zeros, or nothing, as
// a cut-short write leaves it); otherwise it is set aside under a name of its own and the file is
// left alone.
//
// Layout: "LumoraJ2", the old and the new file size (8 bytes each), the header checksum (8), the
// number of ranges (4); per range its offset (8), its length (4), the length of its original bytes
// (4: the part before the old size), the old and new checksum of each of its sectors (8 + 8), and
// the original bytes; then an FNV-1a checksum (8 bytes) of everything before it. Numbers are
// little-endian.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>

#include "base/text.h"
#include "platform/locked_file.h"

namespace lumora::jet {

// Ranges written in one change, by offset; they never overlap.
using ChangedRanges = std::map<std::uint64_t, Bytes>;

Text JournalPath(const Text& database);

// Bytes a change adds past the end of the file that are not held in memory: `length` bytes from
// `offset`, which `read` reads.
struct AddedBytes {
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
  std::function<bool(std::uint64_t offset, std::span<std::uint8_t> out)> read;
};

// Writes and flushes the journal for writing `changes` (and `added`, which lies past every one of
// them) over `database`. False when it could not be made durable (nothing is written into the
// database then).
bool WriteJournal(const Text& journal, const platform::LockedFile& database,
                  const ChangedRanges& changes, const AddedBytes& added = {});

struct JournalOutcome {
  enum class Kind {
    kNone,        // there was no journal, or only a torn one, now removed
    kPlayedBack,  // the change it recorded is undone and the journal gone
    kSetAside,    // it belonged to another file: renamed to `set_aside_as`, the file untouched
    kStuck,       // it could be neither played back nor removed or set aside
  };
  Kind kind = Kind::kNone;
  Text set_aside_as;
  // Why it is stuck, as far as the system said.
  platform::FileError error = platform::FileError::kNone;

  bool Usable() const { return kind != Kind::kStuck; }
};

// Deals with the journal beside `database` (whose caller holds its change lock alone): plays it
// back when it belongs to the file, sets it aside when it does not, removes it when it is torn.
JournalOutcome RecoverFromJournal(const Text& journal, platform::LockedFile& database);

// For a reader that cannot write: when a journal beside the file belongs to `file` (its bytes),
// its change is undone in `file` only. True when it was.
bool UndoInMemory(const Text& journal, Bytes& file);

// Gives a journal that belongs to no file in place (one found where a file is being created) a
// name of its own; true, with that name, when it was renamed.
bool SetAsideJournal(const Text& journal, Text& set_aside_as);

// Removes the journal once its change is durable; where it cannot be removed it is overwritten
// with zeros, so that it is never played back and keeps no old bytes.
bool RetireJournal(const Text& journal);

}  // namespace lumora::jet
