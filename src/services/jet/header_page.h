// Page 0 of a new Jet 4 database: signature, version, the masked region with its settings
// (General sort order, code page 1252, no database key or password), and the commit slots.
#pragma once

#include "base/text.h"

namespace lumora::jet {

// `creation_date` is an OLE date (days since 1899-12-30).
Bytes BuildHeaderPage(double creation_date, std::uint32_t page_size);

}  // namespace lumora::jet
