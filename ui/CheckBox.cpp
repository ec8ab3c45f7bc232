#include "ui/CheckBox.h"

#include "ui/TakeFocus.h"

namespace ox {

const std::vector<std::string>& CheckBoxStateNames() {
  static const std::vector<std::string> names{"cbUnchecked", "cbChecked", "cbGrayed"};
  return names;
}

const std::vector<std::string>& LeftRightNames() {
  static const std::vector<std::string> names{"taLeftJustify", "taRightJustify"};
  return names;
}

const ClassInfo& TCheckBox::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TCheckBox>("TCheckBox", &TButtonControl::StaticClassInfo())
          .creatable()
          .enumeration("Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment,
                       LeftRightNames())
          .defaultValue(static_cast<int>(TAlignment::taRightJustify))
          .property("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed)
          .defaultValue(0)
          .property("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked)
          .defaultValue(0)
          .enumeration("State", &TCheckBox::State, &TCheckBox::SetState, CheckBoxStateNames())
          .defaultValue(0)
          .build();
  return info;
}

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) {
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
}

void TCheckBox::SetState(TCheckBoxState state) {
  if (state == state_) return;
  state_ = state;
  if (!IsLoading()) TControl::Click();
}

void TCheckBox::SetChecked(bool checked) {
  SetState(checked ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked);
}

void TCheckBox::SetAlignment(TAlignment value) {
  // The check box has no centred text.
  if (value != TAlignment::taCenter) alignment_ = value;
}

void TCheckBox::Toggle() {
  switch (state_) {
    case TCheckBoxState::cbUnchecked:
      SetState(allowGrayed_ ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked);
      break;
    case TCheckBoxState::cbChecked:
      SetState(TCheckBoxState::cbUnchecked);
      break;
    case TCheckBoxState::cbGrayed:
      SetState(TCheckBoxState::cbChecked);
      break;
  }
}

void TCheckBox::Click() {
  Toggle();
}

bool TCheckBox::DialogChar(char key, TShiftState shift) {
  if (!IsAccel(key, Caption()) || !CanFocus()) return TButtonControl::DialogChar(key, shift);
  // The accelerator focuses the box and toggles it when the focus arrived.
  if (TakeFocus(*this)) Toggle();
  return true;
}

}  // namespace ox
