#include "ui/SpeedButton.h"

namespace ox {

const ClassInfo& TSpeedButton::StaticClassInfo() {
  using S = TSpeedButton;
  static const ClassInfo info =
      ClassBuilder<S>("TSpeedButton", &TGraphicControl::StaticClassInfo())
          .creatable()
          .property("AllowAllUp", &S::AllowAllUp, &S::SetAllowAllUp)
          .defaultValue(0)
          .property("GroupIndex", &S::GroupIndex, &S::SetGroupIndex)
          .defaultValue(0)
          .property("Down", &S::Down, &S::SetDown)
          .defaultValue(0)
          .property("Flat", &S::Flat, &S::SetFlat)
          .defaultValue(0)
          .object<TBitmap>("Glyph", &S::Glyph, &S::SetGlyph)
          .enumeration("Layout", &S::Layout, &S::SetLayout, ButtonLayoutNames())
          .defaultValue(static_cast<int>(TButtonLayout::blGlyphLeft))
          .property("Margin", &S::Margin, &S::SetMargin)
          .defaultValue(-1)
          .property("NumGlyphs", &S::NumGlyphs, &S::SetNumGlyphs)
          .defaultValue(1)
          .property("Spacing", &S::Spacing, &S::SetSpacing)
          .defaultValue(4)
          .property("Transparent", &S::Transparent, &S::SetTransparent)
          .defaultValue(1)
          .build();
  return info;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 23, 22);
}

void TSpeedButton::SetDown(bool value) {
  if (groupIndex_ == 0) value = false;
  if (value == down_ || (down_ && !allowAllUp_)) return;
  down_ = value;
  if (down_) UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(int value) {
  if (value == groupIndex_) return;
  groupIndex_ = value;
  UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool value) {
  if (value == allowAllUp_) return;
  allowAllUp_ = value;
  UpdateExclusive();
}

void TSpeedButton::UpdateExclusive() {
  if (groupIndex_ == 0 || Parent() == nullptr) return;
  for (int i = 0; i < Parent()->ControlCount(); ++i) {
    auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
    if (other == nullptr || other == this || other->groupIndex_ != groupIndex_) continue;
    if (down_) other->down_ = false;
    other->allowAllUp_ = allowAllUp_;
  }
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft) pressed_ = Enabled();
  TGraphicControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  OnMouseUp(this, button, shift, x, y);
  if (button != TMouseButton::mbLeft || !pressed_) return;
  pressed_ = false;
  if (x < 0 || y < 0 || x >= Width() || y >= Height() || !Enabled()) return;
  if (groupIndex_ != 0) SetDown(!down_);
  Click();
}

bool TSpeedButton::DialogChar(char key, TShiftState) {
  if (!IsAccel(key, Caption()) || !Enabled() || !Visible() || Parent() == nullptr ||
      !Parent()->Showing())
    return false;
  Click();
  return true;
}

}  // namespace ox
