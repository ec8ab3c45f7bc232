#include "controls/ControlClasses.h"

#include "controls/BtChkBox.h"
#include "controls/DBLabel.h"
#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "controls/GSpdBtn.h"
#include "controls/OxRadioButton.h"
#include "controls/OxRadioGroup.h"
#include "controls/OxSpin.h"
#include "controls/QmxEdit.h"
#include "controls/SelectPnl.h"

namespace ox {

void RegisterControlClasses() {
  for (const ClassInfo* info :
       {&TBitCheckBox::StaticClassInfo(), &TDBLabel::StaticClassInfo(),
        &TExtPageControl::StaticClassInfo(), &TGSpeedButton::StaticClassInfo(),
        &TF2Button::StaticClassInfo(), &TOxRadioButton::StaticClassInfo(),
        &TOxRadioGroup::StaticClassInfo(), &TOxSpinEdit::StaticClassInfo(),
        &TOxEdit::StaticClassInfo(), &TOxDBEdit::StaticClassInfo(),
        &TOxBtnDBEdit::StaticClassInfo(), &TSelectPanel::StaticClassInfo()})
    RegisterClass(*info);
}

}  // namespace ox
