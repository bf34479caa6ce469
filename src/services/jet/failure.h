// Why the engine refused a write, or could not make it: the check that said no and where it
// stands in the engine. The check records it where it happens with JET_REFUSE or JET_REFUSE_IF,
// for the calling thread, and returns the function's empty result (false, nullopt, nullptr); each
// Database keeps the reason of its last write (Database::LastFailure). The first reason recorded
// since an operation began is the one that tells: a caller that refuses because a callee did adds
// no new one. A step whose failure the engine recovers from (a page without room, a tree too full
// to patch) records nothing.
#pragma once

#include "base/text.h"

namespace lumora::jet {

struct Failure {
  // A short, fixed text naming the check ("a unique key would repeat"); null when none failed.
  const char* check = nullptr;
  // The engine's source file and line where the check stands.
  const char* file = nullptr;
  int line = 0;

  explicit operator bool() const { return check != nullptr; }
};

// "a unique key would repeat at table_writer.cpp:140"; empty for no failure.
Text FailureText(const Failure& failure);

// Records `failure` for this thread, unless one is recorded already since the last ClearFailure.
void NoteFailure(const Failure& failure);
// What this thread recorded since the last ClearFailure; none when nothing was.
Failure NotedFailure();
void ClearFailure();

}  // namespace lumora::jet

// The failure `check` (a literal) at this place.
#define JET_FAILURE(check) (::lumora::jet::Failure{(check), __FILE__, __LINE__})

// Refuses: records `check` at this place and returns the empty result.
#define JET_REFUSE(check)                           \
  do {                                              \
    ::lumora::jet::NoteFailure(JET_FAILURE(check)); \
    return {};                                      \
  } while (false)

// Refuses as JET_REFUSE when `condition` holds.
#define JET_REFUSE_IF(condition, check) \
  do {                                  \
    if (condition) {                    \
      JET_REFUSE(check);                \
    }                                   \
  } while (false)
