// Every disk operation of the engine's writes (a write, a flush, a cut, a folder sync, the
// journal's removal) asks here first. Tests use it to stop the writes at a chosen point, as a
// crash or a power cut would, and check what the next open finds.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>

#include "platform/file_error.h"

namespace lumora::jet {

// False once the operations that tests allowed are used up; true otherwise.
bool DiskWriteAllowed();

// How many of a write's `wanted` bytes may reach the disk: all of them, none once the allowed
// operations are used up, or (for a power cut) the first half of the one write it falls in.
std::size_t DiskBytesAllowed(std::size_t wanted);

// How many bytes of the pages a change adds past the file's end wait in memory before they go to
// a spill file beside the database (see PageSource::BeginChange).
std::size_t PendingBytesInMemory();

namespace testing {
// After `allowed` more operations every further one fails, the engine's own repairs included, as
// the system would fail it for `why`; with `tear`, the write that comes next is cut in the middle
// first. nullopt lifts the stop.
void StopDiskWritesAfter(std::optional<int> allowed, bool tear = false,
                         platform::FileError why = platform::FileError::kOther);
// Runs `action` once, just before the disk operation that comes after `operations` more (nullptr:
// none), as a test that needs a change caught in the middle does.
void RunBeforeDiskOperation(int operations, std::function<void()> action);
// Replaces PendingBytesInMemory (nullopt: the usual amount), so that small changes spill too.
void HoldPendingBytesInMemory(std::optional<std::size_t> bytes);
}  // namespace testing

}  // namespace lumora::jet
