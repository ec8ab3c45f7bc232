// The check box: two states, or three with AllowGrayed. A click, the space key or the
// caption's accelerator toggles it; every change of State, by the person or by code,
// is reported through OnClick, as the framework's check box does.
#pragma once

#include "ui/ButtonControl.h"

namespace ox {

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TButtonControl {
 public:
  OX_CLASS_INFO()
  explicit TCheckBox(TComponent* owner);

  TCheckBoxState State() const { return state_; }
  // Stores the state and fires OnClick when it changed (not while loading).
  void SetState(TCheckBoxState state);
  // True exactly when State is cbChecked; setting it sets cbChecked or cbUnchecked.
  bool Checked() const { return state_ == TCheckBoxState::cbChecked; }
  void SetChecked(bool checked);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool value) { allowGrayed_ = value; }
  // Side of the text: taRightJustify (the box left of the text) or taLeftJustify.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);

  // The next state: unchecked, grayed (with AllowGrayed), checked, unchecked.
  void Toggle();
  // What a click of the person does: toggles.
  void Click() override;
  bool DialogChar(char key, TShiftState shift) override;

 private:
  TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
  bool allowGrayed_ = false;
  TAlignment alignment_ = TAlignment::taRightJustify;
};

// The names of TCheckBoxState for form resources.
const std::vector<std::string>& CheckBoxStateNames();
// The names of the two-valued alignment of check boxes and radio buttons.
const std::vector<std::string>& LeftRightNames();

}  // namespace ox
