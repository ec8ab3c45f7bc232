// Input for the control tests, sent through window handles the way a person's keys and
// clicks arrive, and a recorder for the events the controls fire. Keys and characters
// go to a given window or control, or, without one, to the window that has the focus.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "platform/WinMessages.h"
#include "ui/Controls.h"

namespace ox::test {

// Logs "event:name " for every event it handles.
struct Recorder {
  std::string log;
  void Note(const char* event, TObject* sender) {
    log += std::string(event) + ":" + static_cast<TComponent*>(sender)->Name() + " ";
  }
  void Clicked(TObject* sender) { Note("click", sender); }
  void Changed(TObject* sender) { Note("change", sender); }
  void Selected(TObject* sender) { Note("select", sender); }
  void DroppedDown(TObject* sender) { Note("dropdown", sender); }
  void ClosedUp(TObject* sender) { Note("closeup", sender); }
  void Moved(TObject* sender) { Note("moved", sender); }
  void Entered(TObject* sender) { Note("enter", sender); }
  // Hands back the log so far and starts a new one.
  std::string Take() { return std::exchange(log, std::string()); }
};

// Shift, Ctrl and Alt held down on a window while it lives, as the keyboard state the
// controls read.
class Held {
 public:
  Held(HWND window, TShiftState shift) : window_(window), shift_(shift) {
    for (auto [bit, key] : kModifiers)
      if (shift_ & bit) SendMessage(window_, WM_KEYDOWN, key, 0);
  }
  ~Held() {
    for (auto [bit, key] : kModifiers)
      if (shift_ & bit) SendMessage(window_, WM_KEYUP, key, 0);
  }
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;

 private:
  static constexpr std::pair<TShiftState, WPARAM> kModifiers[] = {
      {ssShift, VK_SHIFT}, {ssCtrl, VK_CONTROL}, {ssAlt, VK_MENU}};
  HWND window_;
  TShiftState shift_;
};

// The character a key types; 0 for the keys that type none (text comes through Type).
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

// A key pressed and released on the window with modifiers held (with Alt as a system
// key). The character the key types arrives between, without Ctrl or Alt and only
// while the window has the focus: a key the dialog handling took (Tab moving on) types
// nothing, as a window without the focus gets no characters.
inline void Press(HWND window, std::uint16_t key, TShiftState shift = 0) {
  const Held held(window, shift);
  const bool alt = (shift & ssAlt) != 0;
  SendMessage(window, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 0);
  const char typed = TypedBy(key);
  if (typed != 0 && (shift & (ssCtrl | ssAlt)) == 0 && GetFocusWindow() == window)
    SendMessage(window, WM_CHAR, static_cast<unsigned char>(typed), 0);
  SendMessage(window, alt ? WM_SYSKEYUP : WM_KEYUP, key, 0);
}
inline void Press(TWinControl& control, std::uint16_t key, TShiftState shift = 0) {
  Press(control.Handle(), key, shift);
}
inline void Press(std::uint16_t key, TShiftState shift = 0) {
  Press(GetFocusWindow(), key, shift);
}

// The bytes of a text typed on the window, one WM_CHAR each (a double-byte character
// arrives as its two bytes).
inline void Type(HWND window, std::string_view text) {
  for (char c : text)
    SendMessage(window, WM_CHAR, static_cast<unsigned char>(c), 0);
}
inline void Type(TWinControl& control, std::string_view text) {
  Type(control.Handle(), text);
}
inline void Type(std::string_view text) {
  Type(GetFocusWindow(), text);
}

// Alt with a character key, as the window manager delivers an accelerator: WM_SYSCHAR.
inline void PressAlt(TWinControl& control, char key) {
  SendMessage(control.Handle(), WM_SYSCHAR, static_cast<unsigned char>(key), 0);
}

// A left click at a point of the control's window, in its own coordinates, with
// modifiers held; the window passes it on to the child under the point.
inline void ClickAt(TWinControl& control, int x, int y, TShiftState shift = 0) {
  const Held held(control.Handle(), shift);
  SendMessage(control.Handle(), WM_LBUTTONDOWN, 0, MAKELPARAM(x, y));
  SendMessage(control.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

}  // namespace ox::test
