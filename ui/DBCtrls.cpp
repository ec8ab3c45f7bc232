#include "ui/DBCtrls.h"

namespace ox {

namespace {

// Writes a control's pending text into its field as the focus leaves. A text the field
// refuses keeps the focus in the control, with its text selected, and raises.
template <typename SelectAll>
void UpdateOnExit(TWinControl& control, TFieldDataLink& link, SelectAll&& selectAll) {
  try {
    link.UpdateRecord();
  } catch (...) {
    selectAll();
    try {
      control.SetFocus();
    } catch (const EInvalidOperation&) {
      // The form no longer shows: there is no focus to keep.
    }
    throw;
  }
}

bool StartsEditing(char key) {
  constexpr char kPaste = 0x16;
  constexpr char kCut = 0x18;
  return static_cast<unsigned char>(key) >= 0x20 || key == VK_BACK || key == kPaste || key == kCut;
}

}  // namespace

// ---- TDBEdit ---------------------------------------------------------------

const ClassInfo& TDBEdit::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TDBEdit>("TDBEdit", &TCustomEdit::StaticClassInfo())
          .creatable()
          .property("DataField", &TDBEdit::DataField, &TDBEdit::SetDataField)
          .object<TDataSource>("DataSource", &TDBEdit::DataSource, &TDBEdit::SetDataSource)
          .property("ReadOnly", &TDBEdit::ReadOnly, &TDBEdit::SetReadOnly)
          .defaultValue(0)
          .build();
  return info;
}

TDBEdit::TDBEdit(TComponent* owner) : TCustomEdit(owner) {
  TCustomEdit::SetReadOnly(true);
  link_.OnDataChange = [this] { DataChange(); };
  link_.OnEditingChange = [this] { TCustomEdit::SetReadOnly(!link_.Editing()); };
  link_.OnUpdateData = [this] { link_.Field()->SetText(Text()); };
}

void TDBEdit::DataChange() {
  TField* field = link_.Field();
  if (field == nullptr) return SetText({});
  // A text field limits typing to what it keeps, unless the edit has its own limit.
  if (field->Is<TStringField>() && MaxLength() == 0) SetMaxLength(field->Size());
  SetText(Focused() && link_.CanModify() ? field->Text() : field->DisplayText());
}

void TDBEdit::Change() {
  link_.Modified();
  TCustomEdit::Change();
}

void TDBEdit::KeyDown(std::uint16_t& key, TShiftState shift) {
  TCustomEdit::KeyDown(key, shift);
  if (key == VK_DELETE || (key == VK_INSERT && (shift & ssShift) != 0)) link_.Edit();
}

void TDBEdit::KeyPress(char& key) {
  TCustomEdit::KeyPress(key);
  if (key == 0) return;
  if (StartsEditing(key)) {
    link_.Edit();
  } else if (key == VK_ESCAPE) {
    link_.Reset();
    SelectAll();
    key = 0;
  }
}

void TDBEdit::DoEnter() {
  link_.Reset();  // the field's Text, for editing, instead of its DisplayText
  TCustomEdit::DoEnter();
}

void TDBEdit::DoExit() {
  UpdateOnExit(*this, link_, [this] { SelectAll(); });
  link_.Reset();
  TCustomEdit::DoExit();
}

// ---- TDBComboBox -----------------------------------------------------------

const ClassInfo& TDBComboBox::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TDBComboBox>("TDBComboBox", &TComboBox::StaticClassInfo())
          .creatable()
          .property("DataField", &TDBComboBox::DataField, &TDBComboBox::SetDataField)
          .object<TDataSource>("DataSource", &TDBComboBox::DataSource, &TDBComboBox::SetDataSource)
          .property("ReadOnly", &TDBComboBox::ReadOnly, &TDBComboBox::SetReadOnly)
          .defaultValue(0)
          .build();
  return info;
}

TDBComboBox::TDBComboBox(TComponent* owner) : TComboBox(owner) {
  link_.OnDataChange = [this] { DataChange(); };
  link_.OnUpdateData = [this] { link_.Field()->SetText(Text()); };
}

void TDBComboBox::DataChange() {
  if (Style() != TComboBoxStyle::csSimple && DroppedDown()) return;  // the person is choosing
  SetText(link_.Field() != nullptr ? link_.Field()->Text() : std::string());
}

template <typename Step>
void TDBComboBox::ChangeByPerson(Step&& step) {
  if (!link_.Edit()) return;
  const std::string text = Text();
  const int index = ItemIndex();
  step();
  if (Text() != text || ItemIndex() != index) link_.Modified();
}

void TDBComboBox::DefaultKeyDown(std::uint16_t key, TShiftState shift) {
  const bool listKeys = !HasEditPart();
  const bool changes =
      (shift & ssAlt) == 0 &&
      (key == VK_UP || key == VK_DOWN || key == VK_DELETE ||
       (listKeys && (key == VK_LEFT || key == VK_RIGHT || key == VK_HOME || key == VK_END)));
  if (changes)
    ChangeByPerson([&] { TComboBox::DefaultKeyDown(key, shift); });
  else
    TComboBox::DefaultKeyDown(key, shift);
}

void TDBComboBox::DefaultKeyPress(char key) {
  if (StartsEditing(key))
    ChangeByPerson([&] { TComboBox::DefaultKeyPress(key); });
  else
    TComboBox::DefaultKeyPress(key);
}

void TDBComboBox::Click() {
  link_.Edit();
  TComboBox::Click();
  link_.Modified();
}

void TDBComboBox::KeyPress(char& key) {
  TComboBox::KeyPress(key);
  if (key != VK_ESCAPE) return;
  link_.Reset();
  SetSelStart(0);
  SetSelLength(static_cast<int>(Text().size()));
  key = 0;
}

void TDBComboBox::DoExit() {
  UpdateOnExit(*this, link_, [this] {
    SetSelStart(0);
    SetSelLength(static_cast<int>(Text().size()));
  });
  TComboBox::DoExit();
}

}  // namespace ox
