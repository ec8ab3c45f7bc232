#include "ui/ComboBox.h"

#include <algorithm>
#include <utility>

#include "ui/Canvas.h"
#include "ui/TakeFocus.h"

namespace ox {

namespace {

// The drop-down button: as wide as a scroll bar, inside the 2-pixel border.
constexpr int kButtonWidth = 17 + 2;

}  // namespace

// The edit part of csDropDown and csSimple: an edit without a window of its own that
// takes the keys and characters the combo box passes on and reports its changes.
class TComboBox::EditPart final : public TCustomEdit {
 public:
  explicit EditPart(TComboBox& box) : TCustomEdit(nullptr), box_(box) {}
  void Key(std::uint16_t key, TShiftState shift) { DefaultKeyDown(key, shift); }
  void Char(char key) { DefaultKeyPress(key); }

 protected:
  void Change() override { box_.EditChanged(); }

 private:
  TComboBox& box_;
};

const std::vector<std::string>& ComboBoxStyleNames() {
  static const std::vector<std::string> names{"csDropDown", "csSimple", "csDropDownList",
                                              "csOwnerDrawFixed", "csOwnerDrawVariable"};
  return names;
}

const ClassInfo& TComboBox::StaticClassInfo() {
  using C = TComboBox;
  static const ClassInfo info =
      ClassBuilder<C>("TComboBox", &TWinControl::StaticClassInfo())
          .creatable()
          .enumeration("Style", &C::Style, &C::SetStyle, ComboBoxStyleNames())
          .defaultValue(static_cast<int>(TComboBoxStyle::csDropDown))
          .enumeration("CharCase", &C::CharCase, &C::SetCharCase, EditCharCaseNames())
          .defaultValue(static_cast<int>(TEditCharCase::ecNormal))
          .property("DropDownCount", &C::DropDownCount, &C::SetDropDownCount)
          .defaultValue(8)
          .property("ItemHeight", &C::ItemHeight, &C::SetItemHeight)
          .defaultValue(16)
          .property("ItemIndex", &C::ItemIndex, &C::SetItemIndex)
          .defaultValue(-1)
          .property("MaxLength", &C::MaxLength, &C::SetMaxLength)
          .defaultValue(0)
          .property("Sorted", &C::Sorted, &C::SetSorted)
          .defaultValue(0)
          .property("Text", &C::Text, &C::SetText)
          .event("OnChange", &C::OnChange)
          .event("OnCloseUp", &C::OnCloseUp)
          .event("OnDropDown", &C::OnDropDown)
          .event("OnSelect", &C::OnSelect)
          .object<TStrings>("Items", &C::Items, &C::SetItems)
          .build();
  return info;
}

TComboBox::TComboBox(TComponent* owner)
    : TWinControl(owner),
      items_(std::make_unique<TListControlItems>()),
      edit_(new EditPart(*this)) {
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetColor(clWindow);
  items_->OnChange = MakeMethod<&TComboBox::ItemsChanged>(this);
}

TComboBox::~TComboBox() = default;

bool TComboBox::HasEditPart() const {
  return style_ == TComboBoxStyle::csDropDown || style_ == TComboBoxStyle::csSimple;
}

void TComboBox::SetStyle(TComboBoxStyle value) {
  if (value == style_) return;
  const bool hadEditPart = HasEditPart();
  style_ = value;
  if (style_ == TComboBoxStyle::csSimple) droppedDown_ = false;
  if (!HasEditPart())
    ShowSelection();
  else if (!hadEditPart)
    SetEditText(text_, EditSource::Selection);
}

void TComboBox::SetItems(TStrings* items) {
  if (items != nullptr) items_->Assign(*items);
}

int TComboBox::ItemIndex() const {
  return IsLoading() ? loadedIndex_ : items_->Current();
}

void TComboBox::SetItemIndex(int index) {
  if (IsLoading()) {
    loadedIndex_ = index;
    return;
  }
  items_->SetCurrent(index);
  ShowSelection();
}

void TComboBox::SetText(const std::string& text) {
  if (HasEditPart()) {
    SetEditText(text, EditSource::Code);
  } else if (!IsLoading()) {  // a resource's ItemIndex decides once the lines are read
    items_->SetCurrent(items_->IndexOf(text));
    ShowSelection();
  }
}

int TComboBox::ItemHeight() const {
  const bool ownerDrawn =
      style_ == TComboBoxStyle::csOwnerDrawFixed || style_ == TComboBoxStyle::csOwnerDrawVariable;
  return ownerDrawn ? itemHeight_ : FontTextHeight(*Font());
}

void TComboBox::SetItemHeight(int value) {
  if (value > 0) itemHeight_ = value;
}

int TComboBox::MaxLength() const {
  return edit_->MaxLength();
}
void TComboBox::SetMaxLength(int value) {
  edit_->SetMaxLength(value);
}
TEditCharCase TComboBox::CharCase() const {
  return edit_->CharCase();
}
void TComboBox::SetCharCase(TEditCharCase value) {
  // The box is made anew in the new case; the selection stays.
  ChangeEdit(EditSource::Selection, [&] { edit_->SetCharCase(value); });
}

int TComboBox::SelStart() const {
  return HasEditPart() ? edit_->SelStart() : 0;
}
void TComboBox::SetSelStart(int value) {
  if (HasEditPart()) edit_->SetSelStart(value);
}
int TComboBox::SelLength() const {
  return HasEditPart() ? edit_->SelLength() : 0;
}
void TComboBox::SetSelLength(int value) {
  if (HasEditPart()) edit_->SetSelLength(value);
}

void TComboBox::SetDroppedDown(bool value) {
  if (style_ == TComboBoxStyle::csSimple || value == droppedDown_) return;
  // OnDropDown runs before the list shows (handlers often fill it), OnCloseUp after
  // it has gone.
  if (value) OnDropDown(this);
  droppedDown_ = value;
  if (!value) OnCloseUp(this);
}

void TComboBox::EditChanged() {
  text_ = edit_->Text();
  const EditSource source = editSource_;
  if (source != EditSource::Selection)
    items_->SetCurrent(droppedDown_ ? items_->FindPrefix(text_) : -1);
  if (source == EditSource::Person) OnChange(this);
}

void TComboBox::SetEditText(const std::string& text, EditSource source) {
  ChangeEdit(source, [&] { edit_->SetText(text); });
}

void TComboBox::ChangeEdit(EditSource source, const std::function<void()>& change) {
  editSource_ = source;
  try {
    change();
  } catch (...) {
    editSource_ = EditSource::Person;
    throw;
  }
  editSource_ = EditSource::Person;
}

void TComboBox::ShowSelection() {
  const int index = items_->Current();
  const std::string line = index >= 0 ? items_->Strings(index) : std::string();
  if (!HasEditPart()) {
    text_ = line;
    return;
  }
  SetEditText(line, EditSource::Selection);
  if (Focused()) edit_->SelectAll();
}

void TComboBox::SelectByPerson(int index) {
  if (index == items_->Current()) return;
  items_->SetCurrent(index);
  ShowSelection();
  Click();
  if (OnSelect)
    OnSelect(this);
  else
    OnChange(this);
}

void TComboBox::ItemsChanged(TObject*) {
  // An edit part keeps its text when lines go; a list style shows what is selected.
  if (!HasEditPart()) ShowSelection();
}

void TComboBox::Loaded() {
  TWinControl::Loaded();
  const int index = std::exchange(loadedIndex_, -1);
  if (index != -1 || !HasEditPart()) SetItemIndex(index);
}

bool TComboBox::WantsKey(std::uint16_t key, TShiftState) const {
  if (key == VK_RETURN || key == VK_ESCAPE) return droppedDown_;
  return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

void TComboBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft) {
    // A focus kept elsewhere (an OnExit that refused to let go) leaves the list alone.
    const bool focused = !CanTakeFocus(*this) || TakeFocus(*this);
    if (focused && (!HasEditPart() || x >= Width() - kButtonWidth)) SetDroppedDown(!droppedDown_);
  }
  TWinControl::MouseDown(button, shift, x, y);
}

void TComboBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  OnMouseUp(this, button, shift, x, y);
}

void TComboBox::DoEnter() {
  if (HasEditPart()) edit_->SelectAll();
  TWinControl::DoEnter();
}

void TComboBox::DoExit() {
  SetDroppedDown(false);
  TWinControl::DoExit();
}

void TComboBox::DefaultKeyDown(std::uint16_t key, TShiftState shift) {
  const bool alt = (shift & ssAlt) != 0;
  if ((key == VK_F4 && !alt) || (alt && (key == VK_DOWN || key == VK_UP))) {
    SetDroppedDown(!droppedDown_);
    return;
  }
  if ((key == VK_RETURN || key == VK_ESCAPE) && droppedDown_) {
    SetDroppedDown(false);
    return;
  }
  const int last = items_->Count() - 1;
  const int current = items_->Current();
  // Without an edit part Left and Right step like Up and Down, Home and End go to
  // the ends; with one they move the caret.
  const bool listKeys = !HasEditPart();
  int target = -2;
  if (key == VK_UP || (listKeys && key == VK_LEFT)) target = std::max(current - 1, 0);
  if (key == VK_DOWN || (listKeys && key == VK_RIGHT)) target = std::min(current + 1, last);
  if (listKeys && key == VK_HOME) target = 0;
  if (listKeys && key == VK_END) target = last;
  if (target != -2) {
    if (last >= 0) SelectByPerson(target);
    return;
  }
  if (HasEditPart()) edit_->Key(key, shift);
}

void TComboBox::DefaultKeyPress(char key) {
  if (HasEditPart()) {
    edit_->Char(key);
    return;
  }
  if (static_cast<unsigned char>(key) < 0x20) return;
  const int found = items_->NextStartingWith(key, items_->Current());
  if (found >= 0) SelectByPerson(found);
}

}  // namespace ox
