#include "ui/RadioButton.h"

#include "ui/CheckBox.h"
#include "ui/TakeFocus.h"

namespace ox {

const ClassInfo& TRadioButton::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TRadioButton>("TRadioButton", &TButtonControl::StaticClassInfo())
          .creatable()
          .enumeration("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment,
                       LeftRightNames())
          .defaultValue(static_cast<int>(TAlignment::taRightJustify))
          .property("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked)
          .defaultValue(0)
          .build();
  return info;
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  SetTabStop(checked);
  if (!checked) return;
  if (TWinControl* parent = Parent()) {
    for (int i = 0; i < parent->ControlCount(); ++i)
      if (auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i));
          sibling && sibling != this)
        sibling->SetChecked(false);
  }
  if (!IsLoading()) TControl::Click();
}

void TRadioButton::SetAlignment(TAlignment value) {
  if (value != TAlignment::taCenter) alignment_ = value;
}

void TRadioButton::Click() {
  SetChecked(true);
}

bool TRadioButton::DialogChar(char key, TShiftState shift) {
  if (!IsAccel(key, Caption()) || !CanFocus()) return TButtonControl::DialogChar(key, shift);
  TakeFocus(*this);  // the focus arriving checks the button
  return true;
}

LRESULT TRadioButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = TButtonControl::WindowProc(message, wParam, lParam);
  // The window control checks a radio button the keyboard moves the focus to (after
  // the enter events, and only when none of them moved the focus on).
  if (message == WM_SETFOCUS && !Pressing() && !checked_ && Focused()) Click();
  return result;
}

}  // namespace ox
