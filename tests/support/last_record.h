// What the headless window system showed last. A test that expects a balloon or a message box
// that never came fails there, instead of reading past the end of an empty list.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "forms/headless/headless_window_system.h"

namespace lumora::testing_support {

template <typename Record>
const Record& LastRecord(const std::vector<Record>& records, const char* what) {
  static const Record none{};
  if (records.empty()) {
    ADD_FAILURE() << "no " << what << " was shown";
    return none;
  }
  return records.back();
}

inline const forms::HeadlessWindowSystem::BalloonRecord& LastBalloon(
    const forms::HeadlessWindowSystem& system) {
  return LastRecord(system.Balloons(), "balloon tip");
}

inline const forms::HeadlessWindowSystem::MessageBoxRecord& LastMessageBox(
    const forms::HeadlessWindowSystem& system) {
  return LastRecord(system.MessageBoxes(), "message box");
}

}  // namespace lumora::testing_support
