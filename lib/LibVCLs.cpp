#include "lib/LibVCLs.h"

#include <cstdint>

#include "ui/TypeInfo.h"

namespace ox {

namespace {

// The property `name` of `c`; null for a nil component, an empty name or no such
// property. A property that exists but is not of the wanted kind raises.
const PropInfo* PropertyOfKind(const TComponent* c, std::string_view name,
                               bool (*fits)(const PropInfo&)) {
  if (c == nullptr || name.empty()) return nullptr;
  const PropInfo* prop = c->classInfo().FindProperty(name);
  if (prop != nullptr && !fits(*prop)) throw EPropertyError("Invalid property type: " + prop->name);
  return prop;
}

bool IsText(const PropInfo& prop) {
  return prop.kind == PropKind::String;
}
bool IsOrdinal(const PropInfo& prop) {
  return prop.IsOrdinal();
}
bool IsEvent(const PropInfo& prop) {
  return prop.kind == PropKind::Method;
}

void RequireComponent(const TComponent* c) {
  if (c == nullptr) throw EInvalidPointer("Invalid pointer operation: no component");
}

}  // namespace

std::string GetStringProperty(const TComponent* c, std::string_view name) {
  const PropInfo* prop = PropertyOfKind(c, name, IsText);
  return prop != nullptr ? GetPropValue(*c, *prop, false).asString() : std::string();
}

void SetStringProperty(TComponent* c, std::string_view name, std::string_view value) {
  if (const PropInfo* prop = PropertyOfKind(c, name, IsText))
    SetPropValue(*c, *prop, Variant(value));
}

int GetOrdinalProperty(const TComponent* c, std::string_view name) {
  const PropInfo* prop = PropertyOfKind(c, name, IsOrdinal);
  if (prop == nullptr) return 0;
  const Variant value = GetPropValue(*c, *prop, false);
  // A Boolean's ordinal is 1 for true, not the automation value -1.
  if (prop->kind == PropKind::Boolean) return value.asBoolean() ? 1 : 0;
  return static_cast<std::int32_t>(value.asInt64());
}

void SetOrdinalProperty(TComponent* c, std::string_view name, int value) {
  const PropInfo* prop = PropertyOfKind(c, name, IsOrdinal);
  if (prop == nullptr) return;
  // An unnamed enumeration value could not be shown, written or read back.
  if (prop->kind == PropKind::Enumeration &&
      (value < 0 || static_cast<std::size_t>(value) >= prop->names.size()))
    throw EPropertyError("Invalid property value: " + std::to_string(value));
  SetPropValue(*c, *prop, Variant(static_cast<std::int32_t>(value)));
}

TMethod GetObjectMethod(const TComponent* c, std::string_view name) {
  RequireComponent(c);
  const PropInfo* prop = PropertyOfKind(c, name, IsEvent);
  return prop != nullptr ? prop->getMethod(*c) : TMethod{};
}

void SetObjectMethod(TComponent* c, std::string_view name, const TMethod& method) {
  RequireComponent(c);
  if (const PropInfo* prop = PropertyOfKind(c, name, IsEvent)) prop->setMethod(*c, method);
}

bool CheckPropertyExist(const TComponent* c, std::string_view name) {
  return c != nullptr && !name.empty() && c->classInfo().FindProperty(name) != nullptr;
}

void SendClickMessage(TControl* control, WPARAM wParam, LPARAM lParam) {
  if (control == nullptr) return;
  HWND target = nullptr;
  if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
    target = windowed->Handle();
  } else if (TWinControl* parent = control->Parent()) {
    target = parent->Handle();
    lParam =
        MAKELPARAM(LOWORD_SIGNED(lParam) + control->Left(), HIWORD_SIGNED(lParam) + control->Top());
  } else {
    return;
  }
  SendMessage(target, WM_LBUTTONDOWN, wParam, lParam);
  SendMessage(target, WM_LBUTTONUP, wParam, lParam);
}

}  // namespace ox
