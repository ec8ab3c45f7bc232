// Input for the standard-control tests, sent through window handles as a person's
// keys and clicks arrive, and a recorder for the events the controls fire.
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

// Shift, Ctrl and Alt held down on the window while it lives, as the keyboard state
// the controls read.
class Held {
 public:
  Held(TWinControl& control, TShiftState shift) : window_(control.Handle()), shift_(shift) {
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

// A key pressed and released on the window, with modifiers held.
inline void Press(TWinControl& control, std::uint16_t key, TShiftState shift = 0) {
  const Held held(control, shift);
  const bool alt = (shift & ssAlt) != 0;
  SendMessage(control.Handle(), alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 0);
  SendMessage(control.Handle(), alt ? WM_SYSKEYUP : WM_KEYUP, key, 0);
}

// Characters typed on the window, one WM_CHAR per byte.
inline void Type(TWinControl& control, std::string_view text) {
  for (char c : text)
    SendMessage(control.Handle(), WM_CHAR, static_cast<unsigned char>(c), 0);
}

// A left click at a point of the window, with modifiers held.
inline void ClickAt(TWinControl& control, int x, int y, TShiftState shift = 0) {
  const Held held(control, shift);
  SendMessage(control.Handle(), WM_LBUTTONDOWN, 0, MAKELPARAM(x, y));
  SendMessage(control.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

}  // namespace ox::test
