// Tests of the program against Wine's own system parts (its ADO above all): where Wine lacks what
// the program calls, the case is skipped there with the call and its error, and the same result
// anywhere else is a failure.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace lumora::testing_support {

// True inside a Wine process (ntdll names Wine's version).
bool RunningUnderWine();

// The last failed IDispatch call of this thread, as "0x80004005 (its description)".
std::string LastDispatchFailureText();

}  // namespace lumora::testing_support

// Ends the current test: skipped under Wine with `gap` as its reason, failed anywhere else.
#define LUMORA_SKIP_UNDER_WINE(gap)                      \
  do {                                                   \
    if (::lumora::testing_support::RunningUnderWine()) { \
      GTEST_SKIP() << "Wine's ADO: " << (gap);           \
    }                                                    \
    FAIL() << (gap);                                     \
  } while (false)
