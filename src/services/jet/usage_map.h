// Usage maps: bitmaps of pages kept as a row on a data page, either inline (type 0) or as a
// list of bitmap pages (type 1).
#pragma once

#include <cstdint>
#include <vector>

#include "services/jet/data_page.h"
#include "services/jet/pager.h"

namespace lumora::jet {

// The pages whose bit is set, ascending; only pages inside the file are listed. Empty when the
// map row cannot be read.
std::vector<std::uint32_t> UsageMapPages(const Pager& pager, RowPointer map);

// The same for a map row already in hand.
std::vector<std::uint32_t> UsageMapPages(const Pager& pager, ByteView map_row);

}  // namespace lumora::jet
