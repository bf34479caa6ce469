// Late-bound calls through IDispatch: methods and properties by name, arguments in their
// natural order. Included by the ADO engine's sources only.
#pragma once

#include <initializer_list>

#include "services/ado/com_types.h"

namespace lumora::services::ado {

// Creates the object registered under `prog_id` the way the program always has: class id from
// the ProgID, CoCreateInstance in any server kind for IUnknown, OleRun, then IDispatch. Empty
// when any step fails.
ComRef<IDispatch> CreateObject(const wchar_t* prog_id);

// Calls method `name` with `arguments`; `result` (may be null) receives its value.
bool CallMethod(IDispatch* object, const wchar_t* name,
                std::initializer_list<const UniqueVariant*> arguments,
                UniqueVariant* result = nullptr);

// Reads property `name`, optionally indexed by `arguments`.
bool GetProperty(IDispatch* object, const wchar_t* name, UniqueVariant& value,
                 std::initializer_list<const UniqueVariant*> arguments = {});

// Writes property `name`, optionally indexed by `arguments`.
bool PutProperty(IDispatch* object, const wchar_t* name, const UniqueVariant& value,
                 std::initializer_list<const UniqueVariant*> arguments = {});

// An integer property as a LONG; false when it cannot be read or converted.
bool GetLongProperty(IDispatch* object, const wchar_t* name, LONG& value);

}  // namespace lumora::services::ado
