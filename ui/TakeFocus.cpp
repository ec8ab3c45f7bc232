#include "ui/TakeFocus.h"

#include "ui/Forms.h"

namespace ox {

bool CanTakeFocus(const TWinControl& control) {
  const TCustomForm* form = control.ParentForm();
  return form != nullptr && form->Showing() && form->Enabled() && control.CanFocus();
}

bool TakeFocus(TWinControl& control) {
  if (!CanTakeFocus(control)) return false;
  if (!control.Focused()) control.SetFocus();
  return control.Focused();
}

}  // namespace ox
