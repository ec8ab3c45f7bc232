// Keyboard input for control tests, sent to the window that has the focus the way a
// person's typing arrives: the modifiers' key-downs, the key-down, the character the
// key types (only while the same window keeps the focus, as a key the dialog handling
// took types nothing elsewhere), the key-up, the modifiers' key-ups.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/WinMessages.h"
#include "ui/Controls.h"

namespace ox::test {

// The character a key types; 0 for keys that type none.
inline char TypedBy(std::uint16_t key) {
  switch (key) {
    case VK_BACK:
      return '\b';
    case VK_TAB:
      return '\t';
    case VK_RETURN:
      return '\r';
    case VK_ESCAPE:
      return '\x1b';
    case VK_SPACE:
      return ' ';
    default:
      return 0;
  }
}

// Presses and releases a key with ssShift and ssCtrl of `shift` held.
inline void Press(std::uint16_t key, TShiftState shift = 0) {
  const auto send = [](UINT message, WPARAM wParam) {
    SendMessage(GetFocusWindow(), message, wParam, 0);
  };
  if (shift & ssShift) send(WM_KEYDOWN, VK_SHIFT);
  if (shift & ssCtrl) send(WM_KEYDOWN, VK_CONTROL);
  const HWND target = GetFocusWindow();
  send(WM_KEYDOWN, key);
  const char typed = TypedBy(key);
  if (typed != 0 && (shift & ssCtrl) == 0 && GetFocusWindow() == target)
    send(WM_CHAR, static_cast<unsigned char>(typed));
  send(WM_KEYUP, key);
  if (shift & ssCtrl) send(WM_KEYUP, VK_CONTROL);
  if (shift & ssShift) send(WM_KEYUP, VK_SHIFT);
}

// Types the bytes of a text; a double-byte character arrives as its two bytes.
inline void Type(std::string_view text) {
  for (char c : text)
    SendMessage(GetFocusWindow(), WM_CHAR, static_cast<unsigned char>(c), 0);
}

// A click of the left button at a point of a control given in its own coordinates,
// sent to the window under it as the window manager does.
inline void ClickAt(TWinControl& window, int x, int y) {
  SendMessage(window.Handle(), WM_LBUTTONDOWN, 0, MAKELPARAM(x, y));
  SendMessage(window.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

}  // namespace ox::test
