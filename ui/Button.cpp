#include "ui/Button.h"

#include "ui/Forms.h"
#include "ui/TakeFocus.h"

namespace ox {

const ClassInfo& TButton::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TButton>("TButton", &TWinControl::StaticClassInfo())
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

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

void TButton::Click() {
  if (modalResult_ != mrNone)
    if (TCustomForm* form = ParentForm()) form->SetModalResult(modalResult_);
  TWinControl::Click();
}

void TButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft && Enabled()) {
    // The press focuses the button where it can; a focus kept elsewhere (an OnExit
    // that refused to let go) cancels the click.
    const TCustomForm* form = ParentForm();
    const bool focusable = form != nullptr && form->Showing() && form->Enabled() && CanFocus();
    pressed_ = !focusable || TakeFocus(*this);
  }
  TWinControl::MouseDown(button, shift, x, y);
}

void TButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft) {
    const bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
    const bool click = pressed_ && inside && Enabled();
    pressed_ = false;
    // The button reports its click before the release reaches OnMouseUp.
    if (click) Click();
  }
  OnMouseUp(this, button, shift, x, y);
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
  return TWinControl::DialogKey(key, shift);
}

bool TButton::DialogChar(char key, TShiftState shift) {
  if (!IsAccel(key, Caption()) || !CanFocus()) return TWinControl::DialogChar(key, shift);
  Click();
  return true;
}

void TButton::DefaultKeyDown(std::uint16_t key, TShiftState shift) {
  if (key == VK_SPACE && (shift & (ssAlt | ssCtrl)) == 0) Click();
}

}  // namespace ox
