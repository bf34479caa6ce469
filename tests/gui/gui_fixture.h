// A fresh real window system for each GUI test, with helpers to drive it as the user would.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

#include "forms/win32/win32_window_system.h"
#include "forms/window_definition.h"

namespace lumora::gui_tests {

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  forms::Win32WindowSystem& Backend() { return *backend_; }

  // Loads EveryKindWindow (non-modal) and lets its first messages run.
  void LoadEveryKindWindow();

  HWND Frame(const forms::WindowDefinition& window);
  HWND ControlWindow(const forms::WindowDefinition& window, std::string_view control);
  int Index(const forms::WindowDefinition& window, std::string_view control);

  // Lets messages run until `done()` holds, waiting for new ones in between; gives up after a
  // bounded number of rounds. Returns whether `done()` held.
  template <typename Done>
  bool PumpUntil(Done done) {
    for (int round = 0; round < kMaxRounds; ++round) {
      backend_->ProcessPendingMessages();
      if (done()) {
        return true;
      }
      MsgWaitForMultipleObjects(0, nullptr, FALSE, kWaitMilliseconds, QS_ALLINPUT);
    }
    return done();
  }
  void PumpPending() { backend_->ProcessPendingMessages(); }

  // For a test of the program's main window: lets its reachability passes end, then destroys it
  // when it is loaded.
  void DestroyMainWindowAfterItsPasses();

  // Presses and releases the left button at a client point of `window`, through the queue.
  void PostClick(HWND window, POINT point);

  bool Logged(std::string_view entry) const;

 private:
  static constexpr int kMaxRounds = 1000;
  static constexpr DWORD kWaitMilliseconds = 10;
  std::unique_ptr<forms::Win32WindowSystem> backend_;
};

// Saves the screen to a 24-bit BMP file; false when it cannot.
bool SaveScreenshot(const std::string& path);
// Reads the colour of a screen pixel (CLR_INVALID when it cannot).
COLORREF ScreenPixel(POINT point);

}  // namespace lumora::gui_tests
