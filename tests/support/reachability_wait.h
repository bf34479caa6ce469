// Waiting for the reachability passes of a test: their workers post row updates to the headless
// window system, which must outlive them, and the rows must not change under an assertion.
#pragma once

#include "forms/headless/headless_window_system.h"

namespace lumora::testing_support {

// Pumps `system` until no pass is running (bounded by two minutes of wall time, far above any
// pass of a test), then once more for the last updates.
void WaitForReachabilityPasses(forms::HeadlessWindowSystem& system);

}  // namespace lumora::testing_support
