#include "controls/OxRadioGroup.h"

namespace ox {

const ClassInfo& TOxGroupButton::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TOxGroupButton>("TOxGroupButton", &TOxRadioButton::StaticClassInfo()).build();
  return info;
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
