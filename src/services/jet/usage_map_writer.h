// Setting and clearing the bit of one page in a usage map row (inline or reference form).
#pragma once

#include <cstdint>

#include "services/jet/data_page.h"
#include "services/jet/pager.h"

namespace lumora::jet {

// The global map of the file (page 1, row 0), where a set bit marks a free page.
inline constexpr RowPointer kGlobalUsageMap{1, 0};

// Sets or clears the bit of `page` in the map row `map` and writes the page holding it. An
// inline map whose window does not reach `page` is moved when every page it lists still fits,
// and otherwise becomes a reference map (its bitmap pages appended to the file).
// False when the change cannot be made (nothing is written then). With `outside_is_free`, as
// for the global map, a page outside the map is not tracked: its bit is neither set nor cleared.
bool SetUsageMapBit(Pager& pager, RowPointer map, std::uint32_t page, bool value,
                    bool outside_is_free = false);

}  // namespace lumora::jet
