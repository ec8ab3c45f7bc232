// A spin edit in which a sign can only be the first character, and whose change event
// stays silent while the field is empty.
#pragma once

#include "ui/SpinEdit.h"

namespace ox {

class TOxSpinEdit : public TSpinEdit {
 public:
  OX_CLASS_INFO()
  using TSpinEdit::TSpinEdit;

 protected:
  // While a "+" (then a "-") stands after the first character, the last character is
  // cut; the cut text reports its own change, so OnChange sees only clean texts.
  void Change() override;
};

}  // namespace ox
