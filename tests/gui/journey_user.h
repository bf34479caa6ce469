// The person at the keyboard during the journey: the shared user thread, plus message boxes
// photographed before they are answered.
#pragma once

#include <string>

#include "journey_screens.h"
#include "user_thread.h"

namespace lumora::gui_tests {

// AnswerMessageBox that first saves a screenshot of the box as `what`.
AnsweredBox AnswerMessageBox(int button, JourneyScreens& screens, const std::string& what);

}  // namespace lumora::gui_tests
