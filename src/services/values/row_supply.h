// What a source of rows for a bulk write gives: a row, the end of them, or word that the rows so
// far must not be stored after all.
#pragma once

namespace lumora::values {

enum class RowSupply { kRow, kEnd, kAbandon };

}  // namespace lumora::values
