// Memo and OLE data: kept in the row when short, otherwise in rows of separate long-value
// pages, one row or a chain of them.
#pragma once

#include <optional>

#include "base/text.h"
#include "services/jet/byte_view.h"
#include "services/jet/pager.h"

namespace lumora::jet {

// Size of the reference a Memo or OLE field keeps in the row.
inline constexpr std::size_t kLongValueHeaderSize = 12;

// The data a Memo or OLE field refers to; empty when the reference or a page it leads to is
// damaged.
std::optional<Bytes> ReadLongValue(const Pager& pager, ByteView field);

}  // namespace lumora::jet
