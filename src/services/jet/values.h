// The value model the engine shares with the SQL layer and the ADO engine (services/values),
// by the names the engine's own code uses.
#pragma once

#include "services/values/column_type.h"
#include "services/values/row.h"
#include "services/values/row_supply.h"
#include "services/values/value.h"

namespace lumora::jet {

using values::Blob;
using values::ColumnType;
using values::Currency;
using values::DateTime;
using values::Decimal;
using values::Guid;
using values::IsNull;
using values::Row;
using values::RowId;
using values::RowSupply;
using values::Value;

}  // namespace lumora::jet
