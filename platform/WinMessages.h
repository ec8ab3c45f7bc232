// The window-message layer: one per process, shared by the host and every plug-in as
// all modules share one window manager on the original platform. A window handle
// names one control of the model (its class name, its component name, its parent) and
// receives messages through the control's window procedure. SendMessage calls the
// procedure at once; PostMessage queues the message for the message loop
// (ProcessMessages). Automation drives forms by handle through this layer, and the
// messages reach the control exactly as a person's input would.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ox {

using HWND = struct OxWindow*;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT = std::uint32_t;

// The messages the model uses, with their Windows numbers.
enum : UINT {
  WM_NULL = 0x0000,
  WM_DESTROY = 0x0002,
  WM_SIZE = 0x0005,
  WM_SETFOCUS = 0x0007,
  WM_KILLFOCUS = 0x0008,
  WM_ENABLE = 0x000A,
  WM_SETTEXT = 0x000C,  // LPARAM: const char* (narrow text)
  WM_GETTEXT = 0x000D,  // WPARAM: buffer size, LPARAM: char* buffer; answers length
  WM_GETTEXTLENGTH = 0x000E,
  WM_PAINT = 0x000F,
  WM_CLOSE = 0x0010,
  WM_SHOWWINDOW = 0x0018,
  WM_NEXTDLGCTL = 0x0028,  // WPARAM: 0 next control, 1 previous (LPARAM 0)
  WM_KEYDOWN = 0x0100,     // WPARAM: virtual key
  WM_KEYUP = 0x0101,
  WM_CHAR = 0x0102,  // WPARAM: character code (a byte of the system code page)
  WM_SYSKEYDOWN = 0x0104,
  WM_SYSKEYUP = 0x0105,
  WM_SYSCHAR = 0x0106,  // WPARAM: a character typed with Alt
  WM_COMMAND = 0x0111,
  WM_MOUSEMOVE = 0x0200,
  WM_LBUTTONDOWN = 0x0201,  // LPARAM: MAKELPARAM(x, y)
  WM_LBUTTONUP = 0x0202,
  WM_LBUTTONDBLCLK = 0x0203,
  WM_RBUTTONDOWN = 0x0204,
  WM_RBUTTONUP = 0x0205,
  WM_USER = 0x0400,
};

// Virtual keys the forms react to.
enum : WPARAM {
  VK_BACK = 0x08,
  VK_TAB = 0x09,
  VK_RETURN = 0x0D,
  VK_SHIFT = 0x10,
  VK_CONTROL = 0x11,
  VK_MENU = 0x12,
  VK_ESCAPE = 0x1B,
  VK_SPACE = 0x20,
  VK_PRIOR = 0x21,
  VK_NEXT = 0x22,
  VK_END = 0x23,
  VK_HOME = 0x24,
  VK_LEFT = 0x25,
  VK_UP = 0x26,
  VK_RIGHT = 0x27,
  VK_DOWN = 0x28,
  VK_INSERT = 0x2D,
  VK_DELETE = 0x2E,
  VK_F1 = 0x70,
  VK_F2 = 0x71,
  VK_F3 = 0x72,
  VK_F4 = 0x73,
  VK_F5 = 0x74,
  VK_F10 = 0x79,
  VK_F12 = 0x7B,
};

inline LPARAM MAKELPARAM(int low, int high) {
  return static_cast<LPARAM>((static_cast<std::uint32_t>(high & 0xFFFF) << 16) |
                             static_cast<std::uint32_t>(low & 0xFFFF));
}
inline int LOWORD_SIGNED(LPARAM value) {
  return static_cast<std::int16_t>(value & 0xFFFF);
}
inline int HIWORD_SIGNED(LPARAM value) {
  return static_cast<std::int16_t>((value >> 16) & 0xFFFF);
}

// The receiver of a handle's messages (a control of the model).
class WindowProcedure {
 public:
  virtual ~WindowProcedure() = default;
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

// Creates a handle for `procedure`, child of `parent` (null: a top-level window).
// The class name and component name are what automation sees of the control.
HWND CreateWindowHandle(WindowProcedure* procedure, HWND parent, std::string_view className,
                        std::string_view name);
// Destroys the handle and its children: WM_DESTROY goes to the window, then to its
// children depth first, and each stays a window until its own WM_DESTROY and its
// children's have run. Messages still queued for them are dropped; when one of them
// had the focus, no window has it (without WM_KILLFOCUS). Destroying a destroyed
// handle, or one being destroyed, does nothing.
void DestroyWindowHandle(HWND window);
bool IsWindow(HWND window);

HWND GetParent(HWND window);
// Moves the window under `parent` (null: top level); nothing changes when `parent` is
// not a window, or is the window itself or one of its descendants.
void SetParent(HWND window, HWND parent);
// Direct children in creation order (also after SetParent); a null window answers the
// top-level windows.
std::vector<HWND> GetChildWindows(HWND window);
std::vector<HWND> GetTopLevelWindows();
std::string GetWindowClassName(HWND window);
// The control's component name, kept up to date by the model.
std::string GetWindowName(HWND window);
void SetWindowName(HWND window, std::string_view name);
// The first descendant (depth first) of `parent` whose component name equals `name`
// ignoring ASCII case; a null parent searches the top-level windows and their
// descendants. An empty name finds nothing.
HWND FindChildWindow(HWND parent, std::string_view name);
// The text through WM_GETTEXTLENGTH and WM_GETTEXT; through WM_SETTEXT.
std::string GetWindowText(HWND window);
void SetWindowText(HWND window, std::string_view text);
// A procedure's answer to WM_GETTEXT: copies at most bufferSize - 1 bytes of `text` and
// a terminating zero into the buffer; answers the number of bytes copied.
LRESULT AnswerGetText(std::string_view text, WPARAM bufferSize, LPARAM buffer);

// Calls the window procedure at once; 0 for a handle that is not a window.
LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Repaints the window at once (WM_PAINT); nothing for a handle that is gone.
void UpdateWindow(HWND window);
// Makes the window the one in front (false for a handle that is gone), and answers it.
bool SetForegroundWindow(HWND window);
HWND GetForegroundWindow();
// Queues the message; false for a handle that is not a window.
bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Delivers queued messages in order, including those posted while delivering, until
// the queue is empty; answers how many were delivered. A message whose window was
// destroyed meanwhile is dropped. One call delivers at most kMaxProcessedMessages, so a
// procedure that posts to itself on every message cannot hang the caller.
inline constexpr int kMaxProcessedMessages = 100000;
int ProcessMessages();
// Delivers at most one queued message; false when the queue was empty.
bool ProcessOneMessage();
bool HasQueuedMessages();

// The handle that has the keyboard focus (null: none). SetFocusWindow sends
// WM_KILLFOCUS to the old and WM_SETFOCUS to the new handle, as the window manager
// does; the model decides in its procedures what a focus change means. No window has
// the focus while WM_KILLFOCUS runs: when that procedure sets the focus itself, or
// destroys the new window, the new window gets no WM_SETFOCUS. SetFocusWindow answers
// the previous focus (null for a handle that is not a window, and nothing changes).
HWND GetFocusWindow();
HWND SetFocusWindow(HWND window);
// RegisterWindowMessage: one number from 0xC000 up per name (ignoring case).
UINT RegisterWindowMessage(std::string_view name);

}  // namespace ox
