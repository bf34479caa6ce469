#include "forms/win32/control_factory.h"

#include <commctrl.h>

#include <string>

#include "forms/win32/control_events.h"
#include "forms/win32/group_box.h"
#include "forms/win32/list_view.h"
#include "forms/win32/picture_box.h"
#include "forms/win32/toolbar.h"
#include "forms/win32/wide_text.h"

namespace lumora::forms::win32 {
namespace {

COLORREF ToColorRef(const Rgb& colour) {
  return RGB(colour.red, colour.green, colour.blue);
}

struct WindowSpec {
  const wchar_t* className = nullptr;
  DWORD style = 0;
  DWORD extendedStyle = 0;
  void* createParam = nullptr;
};

DWORD BorderExtendedStyle(Border border) {
  switch (border) {
    case Border::kSunken3D:
      return WS_EX_CLIENTEDGE;
    case Border::kRaised:
      return WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;
    case Border::kShallowSunken:
      return WS_EX_STATICEDGE;
    case Border::kSunkenRaised:
      return WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;
    case Border::kNone:
    case Border::kThinSingle:
      return 0;
  }
  return 0;
}

DWORD BorderStyle(Border border) {
  return border == Border::kThinSingle ? WS_BORDER : 0;
}

DWORD EditStyle(const ControlProperties& properties) {
  DWORD style =
      properties.multiLine ? (ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL) : ES_AUTOHSCROLL;
  switch (properties.hAlign) {
    case HAlign::kLeft:
      style |= ES_LEFT;
      break;
    case HAlign::kCentre:
      style |= ES_CENTER;
      break;
    case HAlign::kRight:
      style |= ES_RIGHT;
      break;
  }
  if (properties.input == InputMode::kPassword) {
    style |= ES_PASSWORD;
  } else if (properties.input == InputMode::kReadOnly) {
    style |= ES_READONLY;
  }
  return style;
}

DWORD ButtonAlignment(const ControlProperties& properties) {
  DWORD style = 0;
  switch (properties.hAlign) {
    case HAlign::kLeft:
      style |= BS_LEFT;
      break;
    case HAlign::kCentre:
      style |= BS_CENTER;
      break;
    case HAlign::kRight:
      style |= BS_RIGHT;
      break;
  }
  switch (properties.vAlign) {
    case VAlign::kTop:
      style |= BS_TOP;
      break;
    case VAlign::kCentre:
      style |= BS_VCENTER;
      break;
    case VAlign::kBottom:
      style |= BS_BOTTOM;
      break;
  }
  return style;
}

DWORD StaticStyle(const ControlProperties& properties) {
  DWORD style = SS_NOPREFIX | SS_NOTIFY;
  switch (properties.hAlign) {
    case HAlign::kLeft:
      style |= SS_LEFT;
      break;
    case HAlign::kCentre:
      style |= SS_CENTER;
      break;
    case HAlign::kRight:
      style |= SS_RIGHT;
      break;
  }
  // Single-line text centred vertically.
  if (properties.vAlign == VAlign::kCentre) {
    style |= SS_CENTERIMAGE;
  }
  return style;
}

// The first radio button of each container starts the group that clicking keeps exclusive.
bool StartsRadioGroup(const WindowDefinition& window, int index) {
  const std::string_view container =
      window.controls[index].container ? window.controls[index].container : "";
  for (int other = 0; other < index; ++other) {
    const ControlDefinition& candidate = window.controls[other];
    if (candidate.kind == ControlKind::kRadioButton &&
        container == (candidate.container ? candidate.container : "")) {
      return false;
    }
  }
  return true;
}

WindowSpec SpecFor(const FrameState& frame, int index, ControlState& state) {
  const ControlDefinition& control = frame.Definition(index);
  const ControlProperties& properties = control.properties;
  WindowSpec spec;
  switch (control.kind) {
    case ControlKind::kEditBox:
      spec.className = WC_EDITW;
      spec.style = EditStyle(properties) | BorderStyle(properties.border);
      spec.extendedStyle = BorderExtendedStyle(properties.border);
      break;
    case ControlKind::kButton:
      spec.className = WC_BUTTONW;
      spec.style = (properties.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                   ButtonAlignment(properties);
      break;
    case ControlKind::kCheckBox:
      spec.className = WC_BUTTONW;
      spec.style = BS_AUTOCHECKBOX;
      break;
    case ControlKind::kRadioButton:
      spec.className = WC_BUTTONW;
      spec.style = BS_AUTORADIOBUTTON | (StartsRadioGroup(*frame.definition, index) ? WS_GROUP : 0);
      break;
    case ControlKind::kSlider:
      spec.className = TRACKBAR_CLASSW;
      spec.style = TBS_HORZ | (properties.tickMarks ? TBS_AUTOTICKS : TBS_NOTICKS) |
                   BorderStyle(properties.border);
      spec.extendedStyle = BorderExtendedStyle(properties.border);
      break;
    case ControlKind::kPictureBox: {
      const COLORREF background =
          properties.backColour ? ToColorRef(*properties.backColour) : frame.background;
      state.picture = LoadPicture(properties.image, background);
      spec.className = kPictureBoxClass;
      spec.createParam = state.picture.get();
      break;
    }
    case ControlKind::kGroupBox:
      spec.className = WC_BUTTONW;
      spec.style = BS_GROUPBOX;
      spec.extendedStyle = WS_EX_CONTROLPARENT;
      break;
    case ControlKind::kTransparentLabel:
      spec.className = WC_STATICW;
      spec.style = StaticStyle(properties);
      spec.extendedStyle = WS_EX_TRANSPARENT;
      break;
    case ControlKind::kLabel:
      spec.className = WC_STATICW;
      spec.style = StaticStyle(properties) | BorderStyle(properties.border);
      spec.extendedStyle = BorderExtendedStyle(properties.border);
      break;
    case ControlKind::kListView:
      spec.className = WC_LISTVIEWW;
      spec.style = list_view::Style(properties) | BorderStyle(properties.border);
      spec.extendedStyle = BorderExtendedStyle(properties.border);
      break;
    case ControlKind::kToolbar:
      spec.className = TOOLBARCLASSNAMEW;
      spec.style = ToolbarStyle(properties);
      break;
    case ControlKind::kStatusBar:
      spec.className = STATUSCLASSNAMEW;
      break;
    case ControlKind::kBalloonTip:
    case ControlKind::kDbConnection:
    case ControlKind::kRecordSet:
      break;
  }
  return spec;
}

void SetUpSlider(HWND slider, const ControlProperties& properties, ControlState& state) {
  SendMessageW(slider, TBM_SETRANGEMIN, FALSE, properties.minimum);
  SendMessageW(slider, TBM_SETRANGEMAX, FALSE, properties.maximum);
  SendMessageW(slider, TBM_SETTICFREQ, properties.tickFrequency, 0);
  SendMessageW(slider, TBM_SETPAGESIZE, 0, properties.pageStep);
  SendMessageW(slider, TBM_SETLINESIZE, 0, properties.lineStep);
  SendMessageW(slider, TBM_SETPOS, TRUE, properties.position);
  state.lastSliderPosition = static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
}

void SetUpEdit(HWND edit, const ControlProperties& properties) {
  if (properties.input == InputMode::kPassword) {
    const std::wstring mask = ToWide(std::string(1, properties.passwordMask));
    SendMessageW(edit, EM_SETPASSWORDCHAR, mask.empty() ? L'*' : mask[0], 0);
  }
  if (properties.maxLength > 0) {
    SendMessageW(edit, EM_LIMITTEXT, properties.maxLength, 0);
  }
}

// Kind-specific set-up once the window exists.
// False when the control could not be made to work: a group box that passes no notification on
// would leave every control inside it dead.
bool SetUp(FrameState& frame, int index, HWND window) {
  const ControlDefinition& control = frame.Definition(index);
  const ControlProperties& properties = control.properties;
  ControlState& state = frame.controls[index];
  switch (control.kind) {
    case ControlKind::kEditBox:
      SetUpEdit(window, properties);
      break;
    case ControlKind::kCheckBox:
    case ControlKind::kRadioButton:
      SendMessageW(window, BM_SETCHECK, properties.checked ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case ControlKind::kSlider:
      SetUpSlider(window, properties, state);
      break;
    case ControlKind::kGroupBox:
      return MakeContainer(window, frame);
    case ControlKind::kListView:
      list_view::SetUp(window, properties, state);
      break;
    case ControlKind::kToolbar:
      SetUpToolbar(window, properties, state);
      break;
    case ControlKind::kStatusBar:
      // Lays itself out along the bottom edge of its parent.
      SendMessageW(window, WM_SIZE, 0, 0);
      break;
    default:
      break;
  }
  return true;
}

}  // namespace

bool CreateControlWindow(FrameState& frame, int index, HFONT font) {
  if (index < 0 || index >= static_cast<int>(frame.controls.size())) {
    return false;
  }
  const ControlDefinition& control = frame.Definition(index);
  if (IsNonVisual(control.kind)) {
    return true;
  }
  ControlState& state = frame.controls[index];
  if (control.properties.backColour) {
    state.backBrush.reset(CreateSolidBrush(ToColorRef(*control.properties.backColour)));
  }
  const WindowSpec spec = SpecFor(frame, index, state);
  if (spec.className == kPictureBoxClass && !RegisterPictureBoxClass()) {
    return false;
  }
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | spec.style;
  if (control.tabStop) {
    // Every tab stop but the second and later radio buttons of a container starts a group, so
    // the arrow keys move among a container's radio buttons and nowhere else.
    style |= WS_TABSTOP | (control.kind == ControlKind::kRadioButton ? 0 : WS_GROUP);
  }
  if (!control.enabled) {
    style |= WS_DISABLED;
  }
  const std::wstring text = ToWide(control.properties.text ? control.properties.text : "");
  const Rect& rect = control.rect;
  HWND window =
      CreateWindowExW(spec.extendedStyle, spec.className, text.c_str(), style, rect.left, rect.top,
                      rect.width, rect.height, frame.window,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + index)),
                      GetModuleHandleW(nullptr), spec.createParam);
  if (window == nullptr) {
    return false;
  }
  state.window = window;
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // Without its events the control would look alive and do nothing.
  return SetUp(frame, index, window) && AttachMouseEvents(window, frame, index);
}

}  // namespace lumora::forms::win32
