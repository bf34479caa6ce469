#include "journey_user.h"

namespace lumora::gui_tests {

AnsweredBox AnswerMessageBox(int button, JourneyScreens& screens, const std::string& what) {
  return AnswerMessageBox(button, [&](HWND box) { screens.Shoot(box, what); });
}

}  // namespace lumora::gui_tests
