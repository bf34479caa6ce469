// Environment variables of this process, which the programs it starts inherit.
#pragma once

#include <string>

namespace lumora::gui_tests {

// The variable's value; empty when it is not set.
std::string Variable(const char* name);

// Sets a variable for as long as it lives, then puts the old value back.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value);
  ~ScopedVariable();
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  std::string old_;
};

}  // namespace lumora::gui_tests
