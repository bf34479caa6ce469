// Window definitions as data: one constant table per window, read by the generic loader.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace lumora::forms {

// Every window's balloon tip has this name.
inline constexpr char kBalloonTipName[] = "气球提示框1";

enum class ControlKind {
  kEditBox,
  kButton,
  kCheckBox,
  kRadioButton,
  kSlider,
  kPictureBox,
  kGroupBox,
  kTransparentLabel,
  kLabel,
  kListView,
  kToolbar,
  kStatusBar,
  kBalloonTip,
  kDbConnection,
  kRecordSet,
};

// Kinds without an area of their own raise no events and have no window.
constexpr bool IsNonVisual(ControlKind kind) {
  return kind == ControlKind::kBalloonTip || kind == ControlKind::kDbConnection ||
         kind == ControlKind::kRecordSet;
}

enum class FrameStyle {
  kNone,
  kResizable,
  kFixed,
  kResizableToolWindow,
  kFixedToolWindow,
  kResizableSunken,
  kFixedSunken,
};

enum class StartPosition { kAsStored, kCentred, kMinimized, kMaximized };
enum class HAlign { kLeft, kCentre, kRight };
enum class VAlign { kTop, kCentre, kBottom };
enum class Border { kNone, kSunken3D, kRaised, kShallowSunken, kSunkenRaised, kThinSingle };
enum class InputMode { kNormal, kReadOnly, kPassword };

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
};
using Colour = std::optional<Rgb>;  // empty: the system's default colour

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
};

using ImageData = std::span<const std::uint8_t>;  // PNG or ICO file bytes

// Images of one size for a list view or a toolbar; each entry is PNG data (RGBA, the alpha
// channel serves as the mask).
struct ImageList {
  int width = 0, height = 0;
  std::span<const ImageData> images;
};

struct ListColumn {
  const char* title;
  int width;
};

struct ToolbarButton {
  int image;            // index into the toolbar's image list, -1 = none
  const char* caption;  // nullptr = none
  const char* tooltip;  // nullptr = none
  bool enabled = true;
  bool hidden = false;
};

// Every kind's stored properties in one flat record; each kind reads the fields it has.
struct ControlProperties {
  const char* text = "";  // caption of buttons, check boxes, radio buttons; text of labels, edits
  Colour textColour;
  Colour backColour;
  HAlign hAlign = HAlign::kLeft;
  VAlign vAlign = VAlign::kTop;
  Border border = Border::kNone;
  // edit box
  int maxLength = 0;  // 0 = unlimited
  bool multiLine = false;
  InputMode input = InputMode::kNormal;
  char passwordMask = '*';
  // button
  bool defaultButton = false;
  // check box, radio button
  bool checked = false;
  // slider
  int minimum = 0, maximum = 0, position = 0;
  int tickFrequency = 1, pageStep = 1, lineStep = 1;
  bool tickMarks = false;
  // picture box
  ImageData image;
  // list view
  std::span<const ListColumn> columns;
  bool fullRowSelect = false;
  bool gridLines = false;
  bool singleSelection = false;
  bool showSelectionAlways = false;
  bool checkBoxes = false;
  bool clickableHeaders = false;
  // list view (small icons) and toolbar
  ImageList images;
  // toolbar
  std::span<const ToolbarButton> buttons;
  bool flatButtons = false;
  bool captionBelowImage = false;
  bool wrapButtons = false;
  bool dockTop = false;
};

struct ControlDefinition {
  const char* name;
  ControlKind kind;
  Rect rect;                        // relative to the container's client area
  const char* container = nullptr;  // nullptr = the window itself; otherwise a group box's name
  bool visible = true;
  bool enabled = true;
  bool tabStop = false;
  // The place among the window's tab stops that Tab visits in turn; -1: definition order, after
  // the numbered ones.
  int tabIndex = -1;
  ControlProperties properties{};
};

struct WindowDefinition {
  const char* name;
  const char* title;
  Rect rect;  // outer rectangle, frame included
  FrameStyle frame = FrameStyle::kFixed;
  bool minimizeBox = true;
  bool maximizeBox = false;
  bool controlBox = true;
  bool closable = true;
  // Esc closes the window as its close box does.
  bool escapeCloses = false;
  StartPosition start = StartPosition::kCentred;
  bool showInTaskbar = true;
  bool alwaysOnTop = false;
  bool visible = true;
  Colour background;
  ImageData icon;  // ICO file bytes
  std::span<const ControlDefinition> controls;
};

}  // namespace lumora::forms
