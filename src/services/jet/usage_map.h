// Usage maps: bitmaps of pages kept as a row on a data page, either inline (type 0) or as a
// list of bitmap pages (type 1).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/text.h"
#include "services/jet/data_page.h"
#include "services/jet/pager.h"

namespace lumora::jet {

// The pages whose bit is set, ascending; only pages inside the file are listed. Empty when the
// map row cannot be read.
std::vector<std::uint32_t> UsageMapPages(const Pager& pager, RowPointer map);

// The same for a map row already in hand.
std::vector<std::uint32_t> UsageMapPages(const Pager& pager, ByteView map_row);

// What is wrong with the map row `map` as a list of pages of this file: the row cannot be read, a
// bitmap page it names is missing or is no bitmap page, or a page it lists lies past the end of
// the file. Empty when nothing is.
Text UsageMapFault(const Pager& pager, RowPointer map);

}  // namespace lumora::jet
