#include "ui/RadioGroup.h"

#include <algorithm>

#include "ui/Canvas.h"

namespace ox {

// ---- TGroupButton ----------------------------------------------------------

const ClassInfo& TGroupButton::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TGroupButton>("TGroupButton", &TRadioButton::StaticClassInfo()).build();
  return info;
}

// ---- TRadioGroup -----------------------------------------------------------

const ClassInfo& TRadioGroup::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TRadioGroup>("TRadioGroup", &TCustomGroupBox::StaticClassInfo())
          .creatable()
          .property("Columns", &TRadioGroup::Columns, &TRadioGroup::SetColumns)
          .defaultValue(1)
          .property("ItemIndex", &TRadioGroup::ItemIndex, &TRadioGroup::SetItemIndex)
          .defaultValue(-1)
          .object<TStrings>("Items", &TRadioGroup::Items, &TRadioGroup::SetItems)
          .build();
  return info;
}

TRadioGroup::TRadioGroup(TComponent* owner)
    : TCustomGroupBox(owner), items_(std::make_unique<TStringList>()) {
  items_->OnChange = MakeMethod<&TRadioGroup::ItemsChanged>(this);
}

void TRadioGroup::SetItems(TStrings* items) {
  if (items != nullptr) items_->Assign(*items);
}

TRadioButton* TRadioGroup::Buttons(int index) const {
  if (index < 0 || index >= ButtonCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return buttons_[static_cast<std::size_t>(index)];
}

void TRadioGroup::SetItemIndex(int index) {
  // A form resource may give the index before the items: it is applied once loaded.
  if (IsLoading()) {
    itemIndex_ = index;
    return;
  }
  index = std::clamp(index, -1, ButtonCount() - 1);
  if (index == itemIndex_) return;
  if (itemIndex_ >= 0) Buttons(itemIndex_)->SetChecked(false);
  itemIndex_ = index;
  if (index >= 0) Buttons(index)->SetChecked(true);
}

void TRadioGroup::SetColumns(int columns) {
  columns = std::clamp(columns, 1, 16);
  if (columns == columns_) return;
  columns_ = columns;
  ArrangeButtons();
}

void TRadioGroup::SetEnabled(bool enabled) {
  TCustomGroupBox::SetEnabled(enabled);
  for (TRadioButton* button : buttons_)
    button->SetEnabled(enabled);
}

void TRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  UpdateButtons();
}

TRadioButton* TRadioGroup::CreateButton() {
  return new TGroupButton(this);
}

void TRadioGroup::BoundsChanged() {
  TCustomGroupBox::BoundsChanged();
  ArrangeButtons();
}

void TRadioGroup::FontChanged() {
  TCustomGroupBox::FontChanged();
  ArrangeButtons();
}

void TRadioGroup::ItemsChanged(TObject*) {
  if (IsLoading()) return;
  itemIndex_ = std::min(itemIndex_, items_->Count() - 1);
  UpdateButtons();
}

void TRadioGroup::ButtonClicked(TObject* sender) {
  if (updating_) return;
  const auto found = std::find(buttons_.begin(), buttons_.end(), sender);
  if (found == buttons_.end()) return;
  itemIndex_ = static_cast<int>(found - buttons_.begin());
  Click();
}

// One button per item, captioned with it; the button of ItemIndex checked.
void TRadioGroup::UpdateButtons() {
  while (ButtonCount() < items_->Count()) {
    TRadioButton* button = CreateButton();
    button->Hide();
    button->SetEnabled(Enabled());
    button->SetParentShowHint(false);
    button->OnClick = MakeMethod<&TRadioGroup::ButtonClicked>(this);
    button->SetParent(this);
    buttons_.push_back(button);
  }
  while (ButtonCount() > items_->Count()) {
    TRadioButton* button = buttons_.back();
    buttons_.pop_back();
    button->Free();
  }
  for (int i = 0; i < ButtonCount(); ++i)
    buttons_[static_cast<std::size_t>(i)]->SetCaption(items_->Strings(i));
  itemIndex_ = std::clamp(itemIndex_, -1, ButtonCount() - 1);
  if (itemIndex_ >= 0) {
    updating_ = true;
    Buttons(itemIndex_)->SetChecked(true);
    updating_ = false;
  }
  ArrangeButtons();
}

// Columns of equal width, each holding ceil(count / columns) buttons top to bottom,
// in the frame below the caption.
void TRadioGroup::ArrangeButtons() {
  if (buttons_.empty() || IsLoading()) return;
  const int count = ButtonCount();
  const int textHeight = FontTextHeight(*Font());
  const int perColumn = (count + columns_ - 1) / columns_;
  const int buttonWidth = (Width() - 10) / columns_;
  const int space = Height() - textHeight - 5;
  const int buttonHeight = space / perColumn;
  const int topMargin = textHeight + 1 + (space % perColumn) / 2;
  for (int i = 0; i < count; ++i) {
    TRadioButton* button = buttons_[static_cast<std::size_t>(i)];
    button->SetBounds((i / perColumn) * buttonWidth + 8, (i % perColumn) * buttonHeight + topMargin,
                      buttonWidth, buttonHeight);
    button->Show();
  }
}

}  // namespace ox
