// The rollback journal of the built-in engine's writes: a file beside the database
// ("mstsc.mdb-journal") holding the original bytes of every range that one change overwrites,
// and the file's size before it. It is written and flushed before the first byte of the change
// reaches the database, and removed once the change is durable in it, so a journal found at the
// next open means a change was cut short: its original bytes are written back and the file cut to
// its old size. A journal that is itself incomplete or damaged (its checksum fails) was never
// acted on, since the database is touched only after the whole journal is durable: it is removed
// and the database used as it is.
//
// Layout: "LumoraJ1", the old file size (8 bytes), the number of ranges (4 bytes); per range its
// offset (8 bytes), its length (4 bytes) and the original bytes; then an FNV-1a checksum
// (8 bytes) of everything before it. Numbers are little-endian.
#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include "base/text.h"
#include "platform/locked_file.h"

namespace lumora::jet {

// Ranges written in one change, by offset; they never overlap.
using ChangedRanges = std::map<std::uint64_t, Bytes>;

Text JournalPath(const Text& database);

// Writes and flushes the journal for writing `changes` over `database`. False when it could not
// be made durable (nothing is written into the database then).
bool WriteJournal(const Text& journal, const platform::LockedFile& database,
                  const ChangedRanges& changes);

// Plays back the journal beside `database` when there is a complete one, then removes it.
// False when a complete journal could not be played back (the database must not be used).
bool RecoverFromJournal(const Text& journal, platform::LockedFile& database);

// Removes the journal once its change is durable; where it cannot be removed its header is wiped,
// so that it is never played back.
bool RetireJournal(const Text& journal);

}  // namespace lumora::jet
