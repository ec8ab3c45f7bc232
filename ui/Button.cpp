#include "ui/Button.h"

#include "ui/Forms.h"

namespace ox {

const ClassInfo& TButton::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TButton>("TButton", &TButtonControl::StaticClassInfo())
          .creatable()
          .property("Cancel", &TButton::Cancel, &TButton::SetCancel)
          .defaultValue(0)
          .property("Default", &TButton::Default, &TButton::SetDefault)
          .defaultValue(0)
          .property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult)
          .defaultValue(mrNone)
          .build();
  return info;
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

void TButton::Click() {
  if (modalResult_ != mrNone)
    if (TCustomForm* form = ParentForm()) form->SetModalResult(modalResult_);
  TButtonControl::Click();
}

bool TButton::TakesEnter() const {
  const TCustomForm* form = ParentForm();
  const TWinControl* focused = form != nullptr ? form->ActiveControl() : nullptr;
  if (focused != nullptr && focused->Is<TButton>()) return focused == this;
  return default_;
}

bool TButton::DialogKey(std::uint16_t key, TShiftState shift) {
  const bool mine = (key == VK_RETURN && TakesEnter()) || (key == VK_ESCAPE && cancel_);
  if (mine && shift == 0 && CanFocus()) {
    Click();
    return true;
  }
  return TButtonControl::DialogKey(key, shift);
}

bool TButton::DialogChar(char key, TShiftState shift) {
  if (!IsAccel(key, Caption()) || !CanFocus()) return TButtonControl::DialogChar(key, shift);
  Click();
  return true;
}

}  // namespace ox
