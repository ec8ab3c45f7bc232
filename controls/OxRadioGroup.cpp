#include "controls/OxRadioGroup.h"

namespace ox {

const ClassInfo& TOxGroupButton::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TOxGroupButton>("TOxGroupButton", &TOxRadioButton::StaticClassInfo()).build();
  return info;
}

TOxGroupButton::TOxGroupButton(TOxRadioGroup* group) : TOxRadioButton(group), group_(group) {}

void TOxGroupButton::KeyDown(std::uint16_t& key, TShiftState shift) {
  TOxRadioButton::KeyDown(key, shift);
  if (key != 0) group_->KeyDown(key, shift);
}

void TOxGroupButton::KeyPress(char& key) {
  TOxRadioButton::KeyPress(key);
  if (key != 0) group_->KeyPress(key);
}

const ClassInfo& TOxRadioGroup::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TOxRadioGroup>("TOxRadioGroup", &TRadioGroup::StaticClassInfo())
          .creatable()
          .build();
  return info;
}

TRadioButton* TOxRadioGroup::CreateButton() {
  return new TOxGroupButton(this);
}

}  // namespace ox
