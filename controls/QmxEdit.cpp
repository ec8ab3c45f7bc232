#include "controls/QmxEdit.h"

#include "controls/F2Button.h"
#include "ui/Forms.h"

namespace ox {

const std::vector<std::string>& LabelPositionNames() {
  static const std::vector<std::string> names{"lpAbove", "lpBelow", "lpLeft", "lpRight"};
  return names;
}

namespace {

// The published properties the labelled edits add to their edit class.
template <typename T>
ClassInfo LabeledEditInfo(const char* name, const ClassInfo& parent) {
  return ClassBuilder<T>(name, &parent)
      .creatable()
      .property("Caption", &T::LabelCaption, &T::SetLabelCaption)
      .enumeration("LabelPosition", &T::LabelPosition, &T::SetLabelPosition, LabelPositionNames())
      .defaultValue(static_cast<int>(TLabelPosition::lpLeft))
      .property("LabelSpacing", &T::LabelSpacing, &T::SetLabelSpacing)
      .defaultValue(4)
      .build();
}

}  // namespace

const ClassInfo& TOxEdit::StaticClassInfo() {
  static const ClassInfo info = LabeledEditInfo<TOxEdit>("TOxEdit", TEdit::StaticClassInfo());
  return info;
}

const ClassInfo& TOxDBEdit::StaticClassInfo() {
  static const ClassInfo info = LabeledEditInfo<TOxDBEdit>("TOxDBEdit", TDBEdit::StaticClassInfo());
  return info;
}

const ClassInfo& TOxBtnDBEdit::StaticClassInfo() {
  using E = TOxBtnDBEdit;
  static const ClassInfo info =
      ClassBuilder<E>("TOxBtnDBEdit", &TOxDBEdit::StaticClassInfo())
          .creatable()
          .property("ButtonSpacing", &E::ButtonSpacing, &E::SetButtonSpacing)
          .defaultValue(2)
          .property("GlyphIndex", &E::GlyphIndex, &E::SetGlyphIndex)
          .defaultValue(8)
          .property("ButtonHint", &E::ButtonHint, &E::SetButtonHint)
          .event("OnDialog", &E::OnDialog)
          .build();
  return info;
}

TOxBtnDBEdit::TOxBtnDBEdit(TComponent* owner) : TOxDBEdit(owner) {
  auto* button = new TGSpeedButton(this);
  button->SetName("F2Button");
  button->SetFlat(true);
  button->SetGlyphIndex(8);
  button->OnClick = MakeMethod<&TOxBtnDBEdit::ButtonClick>(this);
  button_ = button;
}

void TOxBtnDBEdit::SetButtonSpacing(int value) {
  spacing_ = value;
  PlaceButton();
}

int TOxBtnDBEdit::GlyphIndex() const {
  const TGSpeedButton* button = button_.get();
  return button != nullptr ? button->GlyphIndex() : 0;
}

void TOxBtnDBEdit::SetGlyphIndex(int value) {
  if (TGSpeedButton* button = button_.get()) button->SetGlyphIndex(value);
}

std::string TOxBtnDBEdit::ButtonHint() const {
  const TGSpeedButton* button = button_.get();
  return button != nullptr ? button->Hint() : std::string();
}

void TOxBtnDBEdit::SetButtonHint(const std::string& hint) {
  if (TGSpeedButton* button = button_.get()) button->SetHint(hint);
}

void TOxBtnDBEdit::SetParent(TWinControl* parent) {
  TOxDBEdit::SetParent(parent);
  if (TGSpeedButton* button = button_.get()) button->SetParent(parent);
  PlaceButton();
}

void TOxBtnDBEdit::SetEnabled(bool enabled) {
  TOxDBEdit::SetEnabled(enabled);
  if (TGSpeedButton* button = button_.get()) button->SetEnabled(enabled);
}

void TOxBtnDBEdit::BoundsChanged() {
  TOxDBEdit::BoundsChanged();
  PlaceButton();
}

void TOxBtnDBEdit::VisibleChanged() {
  TOxDBEdit::VisibleChanged();
  if (TGSpeedButton* button = button_.get()) button->SetVisible(Visible());
}

void TOxBtnDBEdit::PlaceButton() {
  if (TGSpeedButton* button = button_.get())
    button->SetBounds(Left() + Width() + spacing_, Top(), Height(), Height());
}

void TOxBtnDBEdit::ButtonClick(TObject*) {
  if (OnDialog) {
    OnDialog(this);
    return;
  }
  // Focusing raises for an edit that is not showing (its form hidden).
  if (CanFocus() && Showing()) SetFocus();
  auto* form = dynamic_cast<TCustomForm*>(Owner());
  if (Focused() && form != nullptr)
    SendMessage(form->Handle(), WM_OPENWIN, 0, reinterpret_cast<LPARAM>(this));
}

template <typename Edit>
TLabeledEdit<Edit>::TLabeledEdit(TComponent* owner) : Edit(owner) {
  auto* label = new TLabel(this);
  label->SetName("EditLabel");
  label->SetCaption("");
  label->SetFocusControl(this);
  label_ = label;
}

template <typename Edit>
std::string TLabeledEdit<Edit>::LabelCaption() const {
  const TLabel* label = label_.get();
  return label != nullptr ? label->Caption() : std::string();
}

template <typename Edit>
void TLabeledEdit<Edit>::SetLabelCaption(const std::string& caption) {
  if (TLabel* label = label_.get()) label->SetCaption(caption);
  PlaceLabel();
}

template <typename Edit>
void TLabeledEdit<Edit>::SetLabelPosition(TLabelPosition value) {
  position_ = value;
  PlaceLabel();
}

template <typename Edit>
void TLabeledEdit<Edit>::SetLabelSpacing(int value) {
  if (value < 0) return;
  spacing_ = value;
  PlaceLabel();
}

template <typename Edit>
void TLabeledEdit<Edit>::SetParent(TWinControl* parent) {
  Edit::SetParent(parent);
  if (TLabel* label = label_.get()) label->SetParent(parent);
  PlaceLabel();
}

template <typename Edit>
void TLabeledEdit<Edit>::SetEnabled(bool enabled) {
  Edit::SetEnabled(enabled);
  if (TLabel* label = label_.get()) label->SetEnabled(enabled);
}

template <typename Edit>
void TLabeledEdit<Edit>::BoundsChanged() {
  Edit::BoundsChanged();
  PlaceLabel();
}

template <typename Edit>
void TLabeledEdit<Edit>::VisibleChanged() {
  Edit::VisibleChanged();
  if (TLabel* label = label_.get()) label->SetVisible(this->Visible());
}

template <typename Edit>
void TLabeledEdit<Edit>::PlaceLabel() {
  TLabel* label = label_.get();
  if (label == nullptr) return;
  const int left = this->Left(), top = this->Top();
  const int width = this->Width(), height = this->Height();
  const int w = label->Width(), h = label->Height();
  switch (position_) {
    case TLabelPosition::lpAbove:
      label->SetBounds(left, top - h - spacing_, w, h);
      break;
    case TLabelPosition::lpBelow:
      label->SetBounds(left, top + height + spacing_, w, h);
      break;
    case TLabelPosition::lpLeft:
      label->SetBounds(left - w - spacing_, top + (height - h) / 2, w, h);
      break;
    case TLabelPosition::lpRight:
      label->SetBounds(left + width + spacing_, top + (height - h) / 2, w, h);
      break;
  }
}

template class TLabeledEdit<TEdit>;
template class TLabeledEdit<TDBEdit>;

}  // namespace ox
