#include "ui/ButtonControl.h"

#include "ui/TakeFocus.h"

namespace ox {

const ClassInfo& TButtonControl::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TButtonControl>("TButtonControl", &TWinControl::StaticClassInfo()).build();
  return info;
}

void TButtonControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft && Enabled()) {
    pressing_ = true;
    try {
      pressed_ = !CanTakeFocus(*this) || TakeFocus(*this);
    } catch (...) {
      pressing_ = false;
      throw;
    }
    pressing_ = false;
  }
  TWinControl::MouseDown(button, shift, x, y);
}

void TButtonControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft) {
    const bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
    const bool click = pressed_ && inside && Enabled();
    pressed_ = false;
    if (click) Click();
  }
  OnMouseUp(this, button, shift, x, y);
}

void TButtonControl::DefaultKeyDown(std::uint16_t key, TShiftState shift) {
  if (key == VK_SPACE && (shift & (ssAlt | ssCtrl)) == 0) Click();
}

}  // namespace ox
