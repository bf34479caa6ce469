// Event numbers, handler signature and binding tables.
#pragma once

#include <optional>
#include <span>

namespace lumora::forms {

namespace event {
// Kind events.
inline constexpr int kCreated = 0;    // window: once, after every control exists
inline constexpr int kDestroyed = 2;  // window: while it is destroyed; controls still readable
inline constexpr int kClicked = 0;    // button, check box, radio button, toolbar (index argument)
inline constexpr int kChanged = 0;    // slider position changed
inline constexpr int kListLeftClick = 4;
// Common mouse events: arguments x, y, key state (1 Ctrl, 2 Shift, 4 Alt).
inline constexpr int kLeftDown = -1;
inline constexpr int kLeftUp = -2;
inline constexpr int kDoubleClick = -3;
inline constexpr int kRightDown = -4;
inline constexpr int kRightUp = -5;
inline constexpr int kMouseMove = -6;
// Arguments: the virtual-key code (13 Enter, 46 Delete), the key state (1 Ctrl, 2 Shift, 4 Alt).
inline constexpr int kKeyDown = -7;
// Arguments: x, y in screen coordinates; -1, -1 when the menu key or Shift+F10 asked for it.
inline constexpr int kContextMenu = -8;
inline constexpr int kWheel = -12;  // arguments: wheel steps, key state
// List view: a column's header was clicked; argument: the column.
inline constexpr int kColumnClick = -13;
}  // namespace event

using EventArgs = std::span<const int>;
// Empty when the handler returned no value; for mouse events a returned 0 keeps the control
// from processing the action itself.
using HandlerResult = std::optional<int>;
using EventHandler = HandlerResult (*)(EventArgs args);

struct EventBinding {
  const char* control;  // nullptr: the window itself
  int event;
  EventHandler handler;
};

}  // namespace lumora::forms
