#include "platform/handoff_lock.h"

#include <windows.h>

namespace lumora::platform {
namespace {

static_assert(sizeof(SRWLOCK) == sizeof(void*) && sizeof(CONDITION_VARIABLE) == sizeof(void*));

PSRWLOCK Slim(void*& state) {
  return reinterpret_cast<PSRWLOCK>(&state);
}

PCONDITION_VARIABLE Condition(void*& state) {
  return reinterpret_cast<PCONDITION_VARIABLE>(&state);
}

}  // namespace

void HandoffLock::lock() {
  ::AcquireSRWLockExclusive(Slim(state_));
}

bool HandoffLock::try_lock() {
  return ::TryAcquireSRWLockExclusive(Slim(state_)) != 0;
}

void HandoffLock::unlock() {
  ::ReleaseSRWLockExclusive(Slim(state_));
}

void HandoffCondition::Sleep(HandoffLock& lock) {
  ::SleepConditionVariableSRW(Condition(state_), Slim(lock.state_), INFINITE, 0);
}

void HandoffCondition::notify_one() {
  ::WakeConditionVariable(Condition(state_));
}

void HandoffCondition::notify_all() {
  ::WakeAllConditionVariable(Condition(state_));
}

}  // namespace lumora::platform
