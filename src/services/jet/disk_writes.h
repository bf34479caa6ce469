// Every disk operation of the engine's writes (a write, a flush, a cut, the journal's removal)
// asks here first. Tests use it to stop the writes at a chosen point, as a crash or a power cut
// would, and check what the next open finds.
#pragma once

#include <optional>

namespace lumora::jet {

// False once the operations that tests allowed are used up; true otherwise.
bool DiskWriteAllowed();

namespace testing {
// After `allowed` more operations every further one fails, the engine's own repairs included;
// nullopt lifts the stop.
void StopDiskWritesAfter(std::optional<int> allowed);
}  // namespace testing

}  // namespace lumora::jet
