#include "platform/WinMessages.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <iterator>
#include <map>
#include <mutex>
#include <unordered_map>

#include "platform/AsciiText.h"

namespace ox {
namespace {

// A handle is the number of its record, never its address: the layer never dereferences
// a handle, and numbers are not reused, so a stale handle names no window at all.
using WindowId = std::uintptr_t;
constexpr WindowId kNoWindow = 0;
// Numbers start high so that small integers passed as handles never name a window.
constexpr WindowId kFirstWindowId = 0x10000;

constexpr UINT kFirstRegisteredMessage = 0xC000;
constexpr UINT kLastRegisteredMessage = 0xFFFF;

struct WindowRecord {
  WindowProcedure* procedure;
  WindowId parent;
  std::vector<WindowId> children;  // ascending numbers, that is creation order
  std::string className;
  std::string name;
  bool destroying = false;
};

struct QueuedMessage {
  WindowId window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// The process's windows. Every record's parent is kNoWindow or a live record, and the
// focus is kNoWindow or a live record. Procedures are never called with the mutex held,
// so they may use the layer freely; the mutex lets other threads post.
struct WindowTable {
  std::mutex mutex;
  std::unordered_map<WindowId, WindowRecord> windows;
  std::vector<WindowId> topLevel;  // ascending numbers
  std::deque<QueuedMessage> queue;
  WindowId focus = kNoWindow;
  WindowId nextId = kFirstWindowId;
  std::map<std::string, UINT> registered;  // by upper-case name
  UINT nextRegistered = kFirstRegisteredMessage;
};

WindowTable& Table() {
  // Never destroyed: controls freed by static destructors at exit still destroy handles.
  static auto* const table = new WindowTable;
  return *table;
}

WindowId IdOf(HWND window) {
  return reinterpret_cast<WindowId>(window);
}
HWND HandleOf(WindowId id) {
  return reinterpret_cast<HWND>(id);
}

// The helpers below expect the table's mutex to be held.

WindowRecord* FindRecord(WindowTable& table, WindowId id) {
  const auto found = table.windows.find(id);
  return found == table.windows.end() ? nullptr : &found->second;
}

// The children of `parent` (kNoWindow: the top-level windows); null when it is not a window.
std::vector<WindowId>* ChildList(WindowTable& table, WindowId parent) {
  if (parent == kNoWindow) return &table.topLevel;
  WindowRecord* record = FindRecord(table, parent);
  return record != nullptr ? &record->children : nullptr;
}

std::vector<HWND> Handles(const std::vector<WindowId>& ids) {
  std::vector<HWND> handles;
  handles.reserve(ids.size());
  std::transform(ids.begin(), ids.end(), std::back_inserter(handles), HandleOf);
  return handles;
}

bool IsSelfOrAncestor(WindowTable& table, WindowId ancestor, WindowId id) {
  while (id != kNoWindow) {
    if (id == ancestor) return true;
    const WindowRecord* record = FindRecord(table, id);
    if (record == nullptr) return false;
    id = record->parent;
  }
  return false;
}

WindowId FindDescendant(WindowTable& table, const std::vector<WindowId>& children,
                        std::string_view name) {
  for (const WindowId child : children) {
    const WindowRecord* record = FindRecord(table, child);
    if (record == nullptr) continue;
    if (SameTextAscii(record->name, name)) return child;
    if (const WindowId found = FindDescendant(table, record->children, name)) return found;
  }
  return kNoWindow;
}

WindowProcedure* ProcedureOf(HWND window) {
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  const WindowRecord* record = FindRecord(table, IdOf(window));
  return record != nullptr ? record->procedure : nullptr;
}

// Marks the window as being destroyed and answers its procedure; null when it is not a
// window or its destruction has already begun.
WindowProcedure* BeginDestroy(HWND window) {
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  WindowRecord* record = FindRecord(table, IdOf(window));
  if (record == nullptr || record->destroying) return nullptr;
  record->destroying = true;
  return record->procedure;
}

// The first child whose destruction has not begun (procedures may add children while
// the window is being destroyed).
HWND NextChildToDestroy(HWND window) {
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  const WindowRecord* record = FindRecord(table, IdOf(window));
  if (record == nullptr) return nullptr;
  for (const WindowId child : record->children) {
    const WindowRecord* childRecord = FindRecord(table, child);
    if (childRecord != nullptr && !childRecord->destroying) return HandleOf(child);
  }
  return nullptr;
}

void RemoveWindow(WindowId id) {
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  const auto found = table.windows.find(id);
  if (found == table.windows.end()) return;
  // Children left here are being destroyed by an outer call (a WM_DESTROY procedure that
  // destroyed an ancestor); they stay windows, detached, until that call removes them.
  for (const WindowId child : found->second.children) {
    if (WindowRecord* record = FindRecord(table, child)) record->parent = kNoWindow;
  }
  if (std::vector<WindowId>* siblings = ChildList(table, found->second.parent)) {
    std::erase(*siblings, id);
  }
  std::erase_if(table.queue, [id](const QueuedMessage& queued) { return queued.window == id; });
  if (table.focus == id) table.focus = kNoWindow;
  table.windows.erase(found);
}

}  // namespace

HWND CreateWindowHandle(WindowProcedure* procedure, HWND parent, std::string_view className,
                        std::string_view name) {
  if (procedure == nullptr) return nullptr;
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  std::vector<WindowId>* siblings = ChildList(table, IdOf(parent));
  if (siblings == nullptr) return nullptr;
  const WindowId id = table.nextId++;
  siblings->push_back(id);  // the newest number is the highest: the list stays ordered
  table.windows.emplace(
      id, WindowRecord{procedure, IdOf(parent), {}, std::string(className), std::string(name)});
  return HandleOf(id);
}

// WM_DESTROY goes to the window before its children, as the window manager sends it; a
// procedure may destroy other windows (this one included) meanwhile.
void DestroyWindowHandle(HWND window) {
  WindowProcedure* procedure = BeginDestroy(window);
  if (procedure == nullptr) return;
  procedure->WindowProc(WM_DESTROY, 0, 0);
  while (HWND child = NextChildToDestroy(window))
    DestroyWindowHandle(child);
  RemoveWindow(IdOf(window));
}

bool IsWindow(HWND window) {
  return ProcedureOf(window) != nullptr;
}

HWND GetParent(HWND window) {
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  const WindowRecord* record = FindRecord(table, IdOf(window));
  return record != nullptr ? HandleOf(record->parent) : nullptr;
}

void SetParent(HWND window, HWND parent) {
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  const WindowId id = IdOf(window);
  WindowRecord* record = FindRecord(table, id);
  std::vector<WindowId>* newSiblings = ChildList(table, IdOf(parent));
  if (record == nullptr || newSiblings == nullptr || IsSelfOrAncestor(table, id, IdOf(parent))) {
    return;
  }
  if (std::vector<WindowId>* oldSiblings = ChildList(table, record->parent)) {
    std::erase(*oldSiblings, id);
  }
  record->parent = IdOf(parent);
  newSiblings->insert(std::lower_bound(newSiblings->begin(), newSiblings->end(), id), id);
}

std::vector<HWND> GetChildWindows(HWND window) {
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  const std::vector<WindowId>* children = ChildList(table, IdOf(window));
  return children != nullptr ? Handles(*children) : std::vector<HWND>{};
}

std::vector<HWND> GetTopLevelWindows() {
  return GetChildWindows(nullptr);
}

std::string GetWindowClassName(HWND window) {
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  const WindowRecord* record = FindRecord(table, IdOf(window));
  return record != nullptr ? record->className : std::string();
}

std::string GetWindowName(HWND window) {
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  const WindowRecord* record = FindRecord(table, IdOf(window));
  return record != nullptr ? record->name : std::string();
}

void SetWindowName(HWND window, std::string_view name) {
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  if (WindowRecord* record = FindRecord(table, IdOf(window))) record->name = name;
}

HWND FindChildWindow(HWND parent, std::string_view name) {
  if (name.empty()) return nullptr;
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  const std::vector<WindowId>* children = ChildList(table, IdOf(parent));
  return children != nullptr ? HandleOf(FindDescendant(table, *children, name)) : nullptr;
}

std::string GetWindowText(HWND window) {
  const LRESULT length = SendMessage(window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied =
      SendMessage(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
  return text;
}

void SetWindowText(HWND window, std::string_view text) {
  const std::string terminated(text);
  SendMessage(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(terminated.c_str()));
}

LRESULT AnswerGetText(std::string_view text, WPARAM bufferSize, LPARAM buffer) {
  auto* const out = reinterpret_cast<char*>(buffer);
  if (out == nullptr || bufferSize == 0) return 0;
  const std::size_t count = std::min<std::size_t>(text.size(), bufferSize - 1);
  std::memcpy(out, text.data(), count);
  out[count] = '\0';
  return static_cast<LRESULT>(count);
}

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowProcedure* procedure = ProcedureOf(window);
  return procedure != nullptr ? procedure->WindowProc(message, wParam, lParam) : 0;
}

bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  if (FindRecord(table, IdOf(window)) == nullptr) return false;
  table.queue.push_back({IdOf(window), message, wParam, lParam});
  return true;
}

int ProcessMessages() {
  int delivered = 0;
  while (delivered < kMaxProcessedMessages && ProcessOneMessage())
    ++delivered;
  return delivered;
}

bool ProcessOneMessage() {
  QueuedMessage next{};
  WindowProcedure* procedure = nullptr;
  {
    WindowTable& table = Table();
    std::lock_guard lock(table.mutex);
    if (table.queue.empty()) return false;
    next = table.queue.front();
    table.queue.pop_front();
    if (const WindowRecord* record = FindRecord(table, next.window)) procedure = record->procedure;
  }
  if (procedure != nullptr) procedure->WindowProc(next.message, next.wParam, next.lParam);
  return true;
}

bool HasQueuedMessages() {
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  return !table.queue.empty();
}

HWND GetFocusWindow() {
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  return HandleOf(table.focus);
}

HWND SetFocusWindow(HWND window) {
  WindowTable& table = Table();
  const WindowId id = IdOf(window);
  WindowId previous = kNoWindow;
  {
    std::lock_guard lock(table.mutex);
    if (id != kNoWindow && FindRecord(table, id) == nullptr) return nullptr;
    previous = table.focus;
    if (previous == id) return window;
    table.focus = kNoWindow;
  }
  if (previous != kNoWindow) SendMessage(HandleOf(previous), WM_KILLFOCUS, id, 0);
  if (id == kNoWindow) return HandleOf(previous);
  {
    std::lock_guard lock(table.mutex);
    // The WM_KILLFOCUS procedure set the focus itself or destroyed the new window.
    if (table.focus != kNoWindow || FindRecord(table, id) == nullptr) return HandleOf(previous);
    table.focus = id;
  }
  SendMessage(window, WM_SETFOCUS, previous, 0);
  return HandleOf(previous);
}

UINT RegisterWindowMessage(std::string_view name) {
  if (name.empty()) return 0;
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  const auto [entry, added] = table.registered.try_emplace(UpperAscii(name), 0);
  if (added) {
    // The numbers run out after 0x4000 names, as the window manager's do: then 0.
    if (table.nextRegistered > kLastRegisteredMessage) {
      table.registered.erase(entry);
      return 0;
    }
    entry->second = table.nextRegistered++;
  }
  return entry->second;
}

void UpdateWindow(HWND window) {
  if (IsWindow(window)) SendMessage(window, WM_PAINT, 0, 0);
}

namespace {
HWND foregroundWindow = nullptr;
}  // namespace

bool SetForegroundWindow(HWND window) {
  if (!IsWindow(window)) return false;
  foregroundWindow = window;
  return true;
}

HWND GetForegroundWindow() {
  return IsWindow(foregroundWindow) ? foregroundWindow : nullptr;
}

}  // namespace ox
