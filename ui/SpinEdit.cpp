#include "ui/SpinEdit.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>

namespace ox {

namespace {

// The text as a whole number: leading blanks, an optional sign, digits and nothing
// more, within 32 bits.
bool ParseInteger(std::string_view text, int& value) {
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  const bool plus = !text.empty() && text.front() == '+';
  if (plus) text.remove_prefix(1);
  if (text.empty() || (plus && text.front() == '-')) return false;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end;
}

}  // namespace

const ClassInfo& TSpinEdit::StaticClassInfo() {
  using S = TSpinEdit;
  static const ClassInfo info =
      ClassBuilder<S>("TSpinEdit", &TCustomEdit::StaticClassInfo())
          .creatable()
          .property("EditorEnabled", &S::EditorEnabled, &S::SetEditorEnabled)
          .defaultValue(1)
          .property("Increment", &S::Increment, &S::SetIncrement)
          .defaultValue(1)
          .property("MaxValue", &S::MaxValue, &S::SetMaxValue)
          .defaultValue(0)
          .property("MinValue", &S::MinValue, &S::SetMinValue)
          .defaultValue(0)
          .property("Value", &S::Value, &S::SetValue)
          .defaultValue(0)
          .build();
  return info;
}

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner) {
  SetText("0");
}

int TSpinEdit::Value() const {
  int value = 0;
  return ParseInteger(text_, value) ? value : minValue_;
}

void TSpinEdit::SetValue(int value) {
  SetText(std::to_string(CheckValue(value)));
}

int TSpinEdit::CheckValue(int value) const {
  return minValue_ < maxValue_ ? std::clamp(value, minValue_, maxValue_) : value;
}

void TSpinEdit::KeyDown(std::uint16_t& key, TShiftState shift) {
  if ((key == VK_UP || key == VK_DOWN) && !ReadOnly()) {
    // Stepping past the 32-bit range stops at its end.
    const long long step = key == VK_UP ? increment_ : -static_cast<long long>(increment_);
    const long long next = std::clamp<long long>(Value() + step, std::numeric_limits<int>::min(),
                                                 std::numeric_limits<int>::max());
    SetValue(static_cast<int>(next));
  }
  TCustomEdit::KeyDown(key, shift);
}

void TSpinEdit::DefaultKeyDown(std::uint16_t key, TShiftState shift) {
  if (key != VK_UP && key != VK_DOWN) TCustomEdit::DefaultKeyDown(key, shift);
}

bool TSpinEdit::IsValidChar(char key) const {
  const auto byte = static_cast<unsigned char>(key);
  const bool control = byte < 0x20;
  if (!control)
    return editorEnabled_ && std::string_view(".+-0123456789").find(key) != std::string_view::npos;
  // Enter is no part of a number; Backspace edits the text.
  return key != '\r' && (editorEnabled_ || key != VK_BACK);
}

void TSpinEdit::KeyPress(char& key) {
  if (!IsValidChar(key)) {
    key = 0;
    return;
  }
  TCustomEdit::KeyPress(key);
}

void TSpinEdit::DoExit() {
  TCustomEdit::DoExit();
  const int value = Value();
  if (CheckValue(value) != value) SetValue(value);
}

}  // namespace ox
