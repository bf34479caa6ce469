#include "scoped_variable.h"

#include <windows.h>

namespace lumora::gui_tests {

std::string Variable(const char* name) {
  std::string value(32768, '\0');
  const DWORD length = GetEnvironmentVariableA(name, value.data(), 32768);
  value.resize(length < 32768 ? length : 0);
  return value;
}

ScopedVariable::ScopedVariable(const char* name, const std::string& value)
    : name_(name), old_(Variable(name)) {
  SetEnvironmentVariableA(name, value.c_str());
}

ScopedVariable::~ScopedVariable() {
  SetEnvironmentVariableA(name_, old_.empty() ? nullptr : old_.c_str());
}

}  // namespace lumora::gui_tests
