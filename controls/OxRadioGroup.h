// The radio group made of own radio buttons: the platform radio group in every
// respect, its buttons being TOxGroupButton.
#pragma once

#include "controls/OxRadioButton.h"
#include "ui/RadioGroup.h"

namespace ox {

class TOxRadioGroup;

// A button of an own radio group: keys typed on it reach the group's key events; the
// group makes it invisible, enabled with the group and reporting its clicks.
class TOxGroupButton : public TOxRadioButton {
 public:
  OX_CLASS_INFO()
  explicit TOxGroupButton(TOxRadioGroup* group);

  void KeyDown(std::uint16_t& key, TShiftState shift) override;
  void KeyPress(char& key) override;

 private:
  TOxRadioGroup* group_;
};

class TOxRadioGroup : public TRadioGroup {
 public:
  OX_CLASS_INFO()
  using TRadioGroup::TRadioGroup;

 protected:
  TRadioButton* CreateButton() override;
};

}  // namespace ox
