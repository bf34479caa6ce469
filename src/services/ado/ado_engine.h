// The ADO engine: ADODB.Connection and ADODB.Recordset with the Jet OLE DB 4.0 provider,
// reached through IDispatch. Windows only.
#pragma once

#include <memory>

#include "services/database_engine.h"

namespace lumora::services::ado {

// The engine; its Open fails when ADO or the Jet provider is missing (as under Wine).
std::unique_ptr<DatabaseEngine> MakeAdoEngine();

}  // namespace lumora::services::ado
