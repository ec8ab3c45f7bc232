#include "ui/GroupBox.h"

#include <algorithm>

#include "ui/Canvas.h"
#include "ui/TakeFocus.h"

namespace ox {

const ClassInfo& TCustomGroupBox::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TCustomGroupBox>("TCustomGroupBox", &TCustomControl::StaticClassInfo()).build();
  return info;
}

const ClassInfo& TGroupBox::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TGroupBox>("TGroupBox", &TCustomGroupBox::StaticClassInfo()).creatable().build();
  return info;
}

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 185, 105);
}

bool TCustomGroupBox::DialogChar(char key, TShiftState shift) {
  if (!IsAccel(key, Caption()) || !CanFocus()) return TCustomControl::DialogChar(key, shift);
  // The first tab stop inside, else the first control that can have the focus.
  const std::vector<TWinControl*> inside = TabOrderList();
  auto target = std::find_if(inside.begin(), inside.end(),
                             [](const TWinControl* c) { return c->CanFocus() && c->TabStop(); });
  if (target == inside.end())
    target = std::find_if(inside.begin(), inside.end(),
                          [](const TWinControl* c) { return c->CanFocus(); });
  if (target != inside.end()) TakeFocus(**target);
  return true;
}

void TCustomGroupBox::AdjustClientRect(TRect& rect) const {
  rect.Top += FontTextHeight(*Font());
  rect = {rect.Left + 2, rect.Top + 2, rect.Right - 2, rect.Bottom - 2};
}

void TCustomGroupBox::FontChanged() {
  AlignControls();
}

}  // namespace ox
