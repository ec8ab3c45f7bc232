// The radio group made of own radio buttons: the platform radio group in every
// respect, its buttons being TOxGroupButton.
#pragma once

#include "controls/OxRadioButton.h"
#include "ui/RadioGroup.h"

namespace ox {

// A button of an own radio group: the group makes it invisible, enabled with the group
// and reporting its clicks; keys typed on it reach the group's key events.
class TOxGroupButton : public GroupButtonOf<TOxRadioButton> {
 public:
  OX_CLASS_INFO()
  using GroupButtonOf::GroupButtonOf;
};

class TOxRadioGroup : public TRadioGroup {
 public:
  OX_CLASS_INFO()
  using TRadioGroup::TRadioGroup;

 protected:
  TRadioButton* CreateButton() override;
};

}  // namespace ox
