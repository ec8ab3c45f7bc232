// LibVCLs: published properties of components read and written by name (looked up
// ignoring case in the class information), and a synthetic left click. The property
// functions forgive a nil component, an empty name and a missing property, but raise
// EPropertyError when the named property is of the wrong kind, or read-only for a
// setter, or the value does not fit it.
#pragma once

#include <string>
#include <string_view>

#include "platform/Exceptions.h"
#include "platform/WinMessages.h"
#include "ui/Classes.h"
#include "ui/Controls.h"

namespace ox {

// A nil component given where one is required.
class EInvalidPointer : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EInvalidPointer"; }
};

// The value of the text property `name`; empty when `c` is nil, `name` is empty or
// there is no such property.
std::string GetStringProperty(const TComponent* c, std::string_view name);
// Sets the text property `name`; nothing in the cases GetStringProperty forgives.
void SetStringProperty(TComponent* c, std::string_view name, std::string_view value);
// The ordinal of an integer, enumeration, set, Boolean (true is 1) or character
// property, as a 32-bit Integer; 0 in the forgiven cases.
int GetOrdinalProperty(const TComponent* c, std::string_view name);
// Sets an ordinal property (a Boolean is true for any non-zero value); nothing in the
// forgiven cases. An enumeration value outside its named values is refused.
void SetOrdinalProperty(TComponent* c, std::string_view name, int value);
// The handler of the event property `name`; both parts null when there is no such
// property. Raises EInvalidPointer for a nil `c`.
TMethod GetObjectMethod(const TComponent* c, std::string_view name);
// Sets the handler of the event property `name` (EInvalidMethod for a handler of
// another signature); nothing when there is no such property. Raises EInvalidPointer
// for a nil `c`.
void SetObjectMethod(TComponent* c, std::string_view name, const TMethod& method);
// True when `c` is not nil, `name` is not empty and `c` has that property (any kind).
bool CheckPropertyExist(const TComponent* c, std::string_view name);
// Sends WM_LBUTTONDOWN and then WM_LBUTTONUP with the same parameters, at once, as a
// person's click: lParam is MAKELPARAM(x, y) in the control's own coordinates. A
// windowed control gets them through its handle; a control without a window through
// its parent's handle with the point moved by the control's position, so the window
// layer routes the click to whatever is topmost there, as it would a real one. Nothing
// for a nil control or a windowless control without a parent.
void SendClickMessage(TControl* control, WPARAM wParam, LPARAM lParam);

}  // namespace ox
