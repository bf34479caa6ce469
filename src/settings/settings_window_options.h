// Which control of the settings window edits which session option, and what its balloon says.
#pragma once

#include <span>
#include <string_view>

namespace lumora::settings {

// A check box that stands for one option: "1" ticked, "0" cleared.
struct CheckBoxOption {
  const char* control;
  const char* key;
  const char* tickedTip;
  const char* clearedTip;
};

// A radio button that stores `value` for `key` when it is the selected one of its group.
struct RadioOption {
  const char* control;
  const char* key;
  const char* value;
  const char* selectedTip;
};

// The check boxes saved one to one, in the order they are saved. Drive mapping and smart cards,
// which are tied together, are not among them.
std::span<const CheckBoxOption> PlainCheckBoxes();

// The buttons of the forced-connection, sound and key-combination groups, each group in button
// order.
std::span<const RadioOption> RadioGroups();

// The entry of the control named `control`, or nullptr.
const CheckBoxOption* FindCheckBox(std::string_view control);
const RadioOption* FindRadio(std::string_view control);

}  // namespace lumora::settings
