#include "forms/win32/toolbar.h"

#include <algorithm>
#include <string>
#include <vector>

#include "forms/win32/bitmap_image.h"
#include "forms/win32/exception_barrier.h"
#include "forms/win32/wide_text.h"

namespace lumora::forms::win32 {
namespace {

constexpr UINT_PTR kBackgroundSubclass = 1;

LRESULT CALLBACK BackgroundProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR id, DWORD_PTR brush);

// Paints the defined background colour under the buttons.
LRESULT BackgroundMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                          DWORD_PTR brush) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, reinterpret_cast<HBRUSH>(brush));
      return 1;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, BackgroundProc, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK BackgroundProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR id, DWORD_PTR brush) {
  return Guarded([&] { return BackgroundMessage(window, message, wParam, lParam, id, brush); });
}

INT_PTR AddCaption(HWND toolbar, const char* caption) {
  if (caption == nullptr) {
    return -1;
  }
  // TB_ADDSTRING takes a list of strings ended by an empty one.
  std::wstring list = ToWide(caption);
  list.push_back(L'\0');
  list.push_back(L'\0');
  return SendMessageW(toolbar, TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(list.data()));
}

}  // namespace

DWORD ToolbarStyle(const ControlProperties& properties) {
  DWORD style = TBSTYLE_TOOLTIPS | CCS_NODIVIDER;
  if (properties.flatButtons) {
    style |= TBSTYLE_FLAT;
  }
  if (!properties.captionBelowImage) {
    style |= TBSTYLE_LIST;
  }
  if (properties.wrapButtons) {
    style |= TBSTYLE_WRAPABLE;
  }
  style |= properties.dockTop ? CCS_TOP : (CCS_NOPARENTALIGN | CCS_NORESIZE);
  return style;
}

void SetUpToolbar(HWND toolbar, const ControlProperties& properties, ControlState& state) {
  SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  state.images = CreateImageList(properties.images);
  if (state.images) {
    SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(state.images.get()));
  } else if (properties.images.width > 0 && properties.images.height > 0) {
    SendMessageW(toolbar, TB_SETBITMAPSIZE, 0,
                 MAKELPARAM(properties.images.width, properties.images.height));
  }
  const int imageCount = static_cast<int>(properties.images.images.size());
  std::vector<TBBUTTON> buttons;
  for (std::size_t index = 0; index < properties.buttons.size(); ++index) {
    const ToolbarButton& definition = properties.buttons[index];
    TBBUTTON button{};
    button.iBitmap =
        definition.image >= 0 && definition.image < imageCount ? definition.image : I_IMAGENONE;
    button.idCommand = kFirstToolbarCommand + static_cast<int>(index);
    button.fsState = static_cast<BYTE>((definition.enabled ? TBSTATE_ENABLED : 0) |
                                       (definition.hidden ? TBSTATE_HIDDEN : 0));
    button.fsStyle = BTNS_BUTTON;
    button.iString = AddCaption(toolbar, definition.caption);
    buttons.push_back(button);
  }
  if (!buttons.empty()) {
    SendMessageW(toolbar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  }
  // Should the subclass fail, the toolbar keeps the system's colour and works all the same.
  if (state.backBrush) {
    SetWindowSubclass(toolbar, BackgroundProc, kBackgroundSubclass,
                      reinterpret_cast<DWORD_PTR>(state.backBrush.get()));
  }
  SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
}

int ToolbarButtonIndex(const ControlProperties& properties, int command) {
  const int index = command - kFirstToolbarCommand;
  return index >= 0 && index < static_cast<int>(properties.buttons.size()) ? index : -1;
}

namespace {

bool Usable(HWND toolbar, int position) {
  TBBUTTON button{};
  if (!SendMessageW(toolbar, TB_GETBUTTON, position, reinterpret_cast<LPARAM>(&button))) {
    return false;
  }
  return (button.fsStyle & BTNS_SEP) == 0 && (button.fsState & TBSTATE_HIDDEN) == 0 &&
         (button.fsState & TBSTATE_ENABLED) != 0;
}

// The next usable button from `position` in `step` direction, round the end; -1 when none.
int NextUsable(HWND toolbar, int position, int step) {
  const auto count = static_cast<int>(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
  for (int tried = 0; tried < count; ++tried) {
    position = ((position + step) % count + count) % count;
    if (Usable(toolbar, position)) {
      return position;
    }
  }
  return -1;
}

}  // namespace

bool IsToolbarKey(WPARAM key) {
  return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN || key == VK_RETURN ||
         key == VK_SPACE;
}

bool ToolbarKeyDown(HWND toolbar, WPARAM key) {
  if (!IsToolbarKey(key)) {
    return false;
  }
  const auto hot = static_cast<int>(SendMessageW(toolbar, TB_GETHOTITEM, 0, 0));
  if (key == VK_RETURN || key == VK_SPACE) {
    TBBUTTON button{};
    if (hot >= 0 && SendMessageW(toolbar, TB_GETBUTTON, hot, reinterpret_cast<LPARAM>(&button))) {
      PostMessageW(GetParent(toolbar), WM_COMMAND, MAKEWPARAM(button.idCommand, BN_CLICKED),
                   reinterpret_cast<LPARAM>(toolbar));
    }
    return true;
  }
  const int step = key == VK_LEFT || key == VK_UP ? -1 : 1;
  SendMessageW(toolbar, TB_SETHOTITEM, NextUsable(toolbar, hot < 0 ? -step : hot, step), 0);
  return true;
}

void ToolbarFocusChanged(HWND toolbar, bool focused) {
  SendMessageW(toolbar, TB_SETHOTITEM, focused ? NextUsable(toolbar, -1, 1) : -1, 0);
}

void FillToolbarTip(const ControlProperties& properties, NMTBGETINFOTIPW& request) {
  const int index = ToolbarButtonIndex(properties, request.iItem);
  if (index < 0 || request.pszText == nullptr || request.cchTextMax <= 0) {
    return;
  }
  const char* tooltip = properties.buttons[index].tooltip;
  const std::wstring text = ToWide(tooltip == nullptr ? "" : tooltip);
  const std::size_t length =
      std::min(text.size(), static_cast<std::size_t>(request.cchTextMax - 1));
  std::copy_n(text.data(), length, request.pszText);
  request.pszText[length] = L'\0';
}

}  // namespace lumora::forms::win32
