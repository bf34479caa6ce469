#include "services/jet/failure.h"

#include <string>
#include <string_view>

namespace lumora::jet {
namespace {

// Trivially destructible, as a thread_local must be here (see docs/STYLE.md).
thread_local Failure noted;

}  // namespace

Text FailureText(const Failure& failure) {
  if (!failure) {
    return {};
  }
  std::string_view file = failure.file != nullptr ? failure.file : "";
  if (const std::size_t slash = file.find_last_of("/\\"); slash != std::string_view::npos) {
    file.remove_prefix(slash + 1);
  }
  return Text(failure.check) + " at " + Text(file) + ":" + std::to_string(failure.line);
}

void NoteFailure(const Failure& failure) {
  if (!noted) {
    noted = failure;
  }
}

Failure NotedFailure() {
  return noted;
}

void ClearFailure() {
  noted = Failure{};
}

}  // namespace lumora::jet
