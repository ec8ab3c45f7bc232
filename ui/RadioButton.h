// The radio button: checking one unchecks the other radio buttons of the same parent.
// A click, the space key or the focus arriving from the keyboard (Tab, arrows, the
// accelerator) checks it, and a button that becomes checked fires OnClick. Only a
// checked button is a tab stop, so Tab enters a group at its checked button.
#pragma once

#include "ui/ButtonControl.h"

namespace ox {

class TRadioButton : public TButtonControl {
 public:
  OX_CLASS_INFO()
  explicit TRadioButton(TComponent* owner);

  bool Checked() const { return checked_; }
  // Stores the value and makes TabStop follow it; a button that becomes checked
  // unchecks its siblings and fires OnClick (not while loading).
  void SetChecked(bool checked);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);

  // What a click of the person does: checks the button.
  void Click() override;
  bool DialogChar(char key, TShiftState shift) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool checked_ = false;
  TAlignment alignment_ = TAlignment::taRightJustify;
};

}  // namespace ox
