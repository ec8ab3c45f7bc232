// Spin edits: an edit for a whole number, stepped by Increment with the Up and Down
// keys. Value reads the text as a number (MinValue when it is none) and is kept within
// MinValue..MaxValue when MinValue < MaxValue; leaving the control brings a typed value
// back into that range. Only digits, signs and the decimal point can be typed (nothing
// when EditorEnabled is off). As in the framework, Value is published and Text is not.
#pragma once

#include <cstdint>

#include "ui/Edit.h"

namespace ox {

class TSpinEdit : public TCustomEdit {
 public:
  OX_CLASS_INFO()
  explicit TSpinEdit(TComponent* owner);

  int Value() const;
  // Sets the text to the value, kept within the bounds.
  void SetValue(int value);
  int MinValue() const { return minValue_; }
  void SetMinValue(int value) { minValue_ = value; }
  int MaxValue() const { return maxValue_; }
  void SetMaxValue(int value) { maxValue_ = value; }
  int Increment() const { return increment_; }
  void SetIncrement(int value) { increment_ = value; }
  // Whether the text can be typed into (the keys still step the value).
  bool EditorEnabled() const { return editorEnabled_; }
  void SetEditorEnabled(bool value) { editorEnabled_ = value; }

  // Up and Down step the value (unless ReadOnly) before OnKeyDown sees them.
  void KeyDown(std::uint16_t& key, TShiftState shift) override;
  // Characters that cannot be part of a number are refused before OnKeyPress.
  void KeyPress(char& key) override;
  void DoExit() override;

 protected:
  void DefaultKeyDown(std::uint16_t key, TShiftState shift) override;

 private:
  // The value kept within the bounds.
  int CheckValue(int value) const;
  bool IsValidChar(char key) const;

  int minValue_ = 0;
  int maxValue_ = 0;
  int increment_ = 1;
  bool editorEnabled_ = true;
};

}  // namespace ox
