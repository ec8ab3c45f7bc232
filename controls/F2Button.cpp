#include "controls/F2Button.h"

#include "platform/CodePage.h"
#include "ui/Dialogs.h"

namespace ox {

const ClassInfo& TF2Button::StaticClassInfo() {
  using B = TF2Button;
  static const ClassInfo info =
      ClassBuilder<B>("TF2Button", &TGSpeedButton::StaticClassInfo())
          .creatable()
          .property("AutoAlign", &B::AutoAlign, &B::SetAutoAlign)
          .defaultValue(1)
          .object<TWinControl>("F2Control", &B::F2Control, &B::SetF2Control)
          .property("Gap", &B::Gap, &B::SetGap)
          .defaultValue(2)
          .build();
  return info;
}

TF2Button::TF2Button(TComponent* owner) : TGSpeedButton(owner) {
  SetGlyphIndex(8);
  SetFlat(true);
}

void TF2Button::SetAutoAlign(bool value) {
  autoAlign_ = value;
  AlignToControl();
}

void TF2Button::SetF2Control(TWinControl* control) {
  if (control != nullptr) {
    if (TF2Button* bound = BoundTo(control); bound != nullptr) {
      if (bound != this)
        MessageDlg(Gb("不能同时有两个 F2Button 指到同一个 Edit."), mtError, {mbOK});
      return;
    }
  }
  f2Control_ = control;
  AlignToControl();
}

void TF2Button::SetGap(int value) {
  gap_ = static_cast<std::uint8_t>(value);
  AlignToControl();
}

TF2Button* TF2Button::BoundTo(const TWinControl* control) const {
  if (Parent() == nullptr) return nullptr;
  for (int i = 0; i < Parent()->ComponentCount(); ++i) {
    auto* button = dynamic_cast<TF2Button*>(Parent()->Components(i));
    if (button != nullptr && button->F2Control() == control) return button;
  }
  return nullptr;
}

void TF2Button::AlignToControl() {
  const TWinControl* control = F2Control();
  if (!autoAlign_ || control == nullptr) return;
  SetBounds(control->Left() + control->Width() + gap_, control->Top(), control->Height(),
            control->Height());
}

void TF2Button::Click() {
  TGSpeedButton::Click();
  TWinControl* control = F2Control();
  if (control == nullptr || !control->Enabled()) return;
  // Focusing raises for a control that is not showing (its form hidden).
  if (control->CanFocus() && control->Showing()) control->SetFocus();
  auto* owner = dynamic_cast<TWinControl*>(control->Owner());
  if (control->Focused() && owner != nullptr)
    SendMessage(owner->Handle(), WM_OPENWIN, 0, reinterpret_cast<LPARAM>(control));
}

}  // namespace ox
