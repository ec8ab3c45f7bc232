#include "controls/DBLabel.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "ui/DataSet.h"
#include "ui/DataSource.h"
#include "ui/Dialogs.h"

namespace ox {

const std::vector<std::string>& PosNames() {
  static const std::vector<std::string> names{"psTop", "psLeft", "psRight", "psBottom"};
  return names;
}

const ClassInfo& TDBLabel::StaticClassInfo() {
  using L = TDBLabel;
  static const ClassInfo info =
      ClassBuilder<L>("TDBLabel", &TLabel::StaticClassInfo())
          .creatable()
          .property("AutoAlign", &L::AutoAlign, &L::SetAutoAlign)
          .defaultValue(1)
          .property("AutoCaption", &L::AutoCaption, &L::SetAutoCaption)
          .defaultValue(1)
          .object<TWinControl>("FocusControl", &L::FocusControl, &L::SetFocusControl)
          .property("Gap", &L::Gap, &L::SetGap)
          .defaultValue(4)
          .enumeration("Pos", &L::Pos, &L::SetPos, PosNames())
          .defaultValue(static_cast<int>(TPos::psLeft))
          .build();
  return info;
}

TDBLabel::TDBLabel(TComponent* owner) : TLabel(owner) {
  SetCaption(Gb("挂靠标签"));
}

const TDBLabel* TDBLabel::LabelOf(const TWinControl* control) const {
  const TWinControl* parent = Parent();
  if (parent == nullptr) return nullptr;
  for (int i = 0; i < parent->ComponentCount(); ++i) {
    const auto* label = dynamic_cast<const TDBLabel*>(parent->Components(i));
    if (label != nullptr && label->FocusControl() == control) return label;
  }
  return nullptr;
}

void TDBLabel::SetFocusControl(TWinControl* control) {
  if (control != nullptr) {
    if (const TDBLabel* holder = LabelOf(control)) {
      if (holder != this)
        MessageDlg(Gb("不能同时有两个 DBLabel 指到同一个 Control."), mtError, {mbOK});
      return;
    }
  }
  TLabel::SetFocusControl(control);
  Realign();
}

void TDBLabel::SetAutoAlign(bool value) {
  autoAlign_ = value;
  Realign();
}

void TDBLabel::SetGap(std::uint8_t value) {
  gap_ = value;
  Realign();
}

void TDBLabel::SetPos(TPos value) {
  pos_ = value;
  Realign();
}

void TDBLabel::TakeFieldCaption() {
  const TWinControl* control = FocusControl();
  const PropInfo* sourceProp = control->classInfo().FindProperty("DataSource");
  const PropInfo* fieldProp = control->classInfo().FindProperty("DataField");
  if (sourceProp == nullptr || sourceProp->kind != PropKind::Class || fieldProp == nullptr) return;
  const auto* source = dynamic_cast<const TDataSource*>(sourceProp->getObject(*control));
  if (source == nullptr || source->DataSet() == nullptr) return;
  const Variant fieldName = GetPropValue(*control, *fieldProp);
  if (const TField* field = source->DataSet()->FindField(fieldName.asString()))
    SetCaption(field->DisplayLabel());
}

void TDBLabel::Realign() {
  const TWinControl* control = FocusControl();
  if (control == nullptr) return;
  if (autoCaption_) TakeFieldCaption();
  if (!autoAlign_) return;
  int left = control->Left();
  int top = control->Top();
  switch (pos_) {
    case TPos::psTop:
      top = std::max(control->Top() - Height() - gap_, 0);
      break;
    case TPos::psBottom:
      top = std::max(control->Top() + control->Height() + gap_, 0);
      break;
    case TPos::psLeft:
    case TPos::psRight:
      top = control->Top() + control->Height() / 2 - Height() / 2;
      left = pos_ == TPos::psLeft ? control->Left() - Width() - gap_
                                  : control->Left() + control->Width() + gap_;
      left = std::max(left, 0);
      break;
  }
  SetBounds(left, top, Width(), Height());
}

}  // namespace ox
