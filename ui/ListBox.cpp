#include "ui/ListBox.h"

#include <algorithm>
#include <vector>

#include "ui/Canvas.h"
#include "ui/TakeFocus.h"

namespace ox {

const std::vector<std::string>& ListBoxStyleNames() {
  static const std::vector<std::string> names{"lbStandard", "lbOwnerDrawFixed",
                                              "lbOwnerDrawVariable"};
  return names;
}

const ClassInfo& TListBox::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TListBox>("TListBox", &TWinControl::StaticClassInfo())
          .creatable()
          .enumeration("Style", &TListBox::Style, &TListBox::SetStyle, ListBoxStyleNames())
          .defaultValue(static_cast<int>(TListBoxStyle::lbStandard))
          .enumeration("BorderStyle", &TListBox::BorderStyle, &TListBox::SetBorderStyle,
                       BorderStyleNames())
          .defaultValue(static_cast<int>(TBorderStyle::bsSingle))
          .property("Columns", &TListBox::Columns, &TListBox::SetColumns)
          .defaultValue(0)
          .property("ExtendedSelect", &TListBox::ExtendedSelect, &TListBox::SetExtendedSelect)
          .defaultValue(1)
          .property("ItemHeight", &TListBox::ItemHeight, &TListBox::SetItemHeight)
          .defaultValue(16)
          .object<TStrings>("Items", &TListBox::Items, &TListBox::SetItems)
          .property("MultiSelect", &TListBox::MultiSelect, &TListBox::SetMultiSelect)
          .defaultValue(0)
          .property("Sorted", &TListBox::Sorted, &TListBox::SetSorted)
          .defaultValue(0)
          .build();
  return info;
}

TListBox::TListBox(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TListControlItems>()) {
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetColor(clWindow);
}

void TListBox::SetItems(TStrings* items) {
  if (items != nullptr) items_->Assign(*items);
}

int TListBox::ItemIndex() const {
  // The caret of a multi-select box starts on the first line.
  if (multiSelect_ && items_->Current() < 0 && items_->Count() > 0) return 0;
  return items_->Current();
}

void TListBox::SetItemIndex(int index) {
  items_->SetCurrent(index);
  if (items_->Current() >= 0) ScrollIntoView(items_->Current());
}

bool TListBox::Selected(int index) const {
  if (index < 0 || index >= items_->Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return multiSelect_ ? items_->Marked(index) : index == items_->Current();
}

void TListBox::SetSelected(int index, bool selected) {
  if (index < 0 || index >= items_->Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  if (multiSelect_)
    items_->SetMarked(index, selected);
  else
    items_->SetCurrent(selected ? index : -1);
}

int TListBox::SelCount() const {
  return multiSelect_ ? items_->MarkCount() : -1;
}

void TListBox::SetMultiSelect(bool value) {
  // The window control is made anew: the lines and ItemIndex stay, the marks go.
  if (value == multiSelect_) return;
  multiSelect_ = value;
  items_->ClearMarks();
}

void TListBox::SetColumns(int value) {
  columns_ = std::max(value, 0);
}

int TListBox::ItemHeight() const {
  return style_ == TListBoxStyle::lbStandard ? FontTextHeight(*Font()) : itemHeight_;
}

void TListBox::SetItemHeight(int value) {
  if (value > 0) itemHeight_ = value;
}

int TListBox::TopIndex() const {
  return std::min(topIndex_, std::max(items_->Count() - 1, 0));
}

void TListBox::SetTopIndex(int index) {
  topIndex_ = std::clamp(index, 0, std::max(items_->Count() - 1, 0));
}

int TListBox::ClientWidth() const {
  return std::max(Width() - (borderStyle_ == TBorderStyle::bsSingle ? 4 : 0), 0);
}

int TListBox::ClientHeight() const {
  return std::max(Height() - (borderStyle_ == TBorderStyle::bsSingle ? 4 : 0), 0);
}

int TListBox::RowsPerColumn() const {
  return std::max(ClientHeight() / std::max(ItemHeight(), 1), 1);
}

int TListBox::ItemAtPos(int x, int y) const {
  if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight()) return -1;
  const int row = y / std::max(ItemHeight(), 1);
  int index = TopIndex() + row;
  if (columns_ > 0) index += (x / std::max(ClientWidth() / columns_, 1)) * RowsPerColumn();
  return index < items_->Count() ? index : -1;
}

void TListBox::ScrollIntoView(int index) {
  // Multi-column boxes scroll by whole columns.
  const int rows = RowsPerColumn();
  const int step = columns_ > 0 ? rows : 1;
  const int page = columns_ > 0 ? rows * columns_ : rows;
  topIndex_ = TopIndex();
  if (index < topIndex_)
    topIndex_ = index - index % step;
  else if (index >= topIndex_ + page)
    topIndex_ = (index - page + step) - (index - page + step) % step;
}

TListBox::Pick TListBox::PickFor(TShiftState shift, bool click) const {
  if (!multiSelect_) return Pick::Select;
  if (!extendedSelect_) return click ? Pick::Toggle : Pick::Caret;
  if ((shift & ssCtrl) != 0) return click ? Pick::Toggle : Pick::Caret;
  return Pick::Select;
}

bool TListBox::Extends(TShiftState shift) const {
  return multiSelect_ && extendedSelect_ && (shift & ssShift) != 0;
}

bool TListBox::SelectAt(int index, Pick pick, bool extend) {
  const int count = items_->Count();
  std::vector<bool> before(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    before[static_cast<std::size_t>(i)] = items_->Marked(i);
  const int caretBefore = ItemIndex();

  items_->SetCurrent(index);
  if (multiSelect_ && pick == Pick::Toggle) {
    items_->SetMarked(index, !items_->Marked(index));
  } else if (multiSelect_ && pick == Pick::Select) {
    items_->ClearMarks();
    const int from = extend && anchor_ >= 0 && anchor_ < count ? anchor_ : index;
    for (int i = std::min(from, index); i <= std::max(from, index); ++i)
      items_->SetMarked(i, true);
  }
  if (!extend && pick != Pick::Caret) anchor_ = index;
  ScrollIntoView(index);

  if (ItemIndex() != caretBefore) return true;
  for (int i = 0; i < count; ++i)
    if (items_->Marked(i) != before[static_cast<std::size_t>(i)]) return true;
  return false;
}

bool TListBox::WantsKey(std::uint16_t key, TShiftState) const {
  return key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT;
}

void TListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft) {
    TakeFocus(*this);
    const int index = ItemAtPos(x, y);
    tracking_ = index >= 0;
    if (tracking_) SelectAt(index, PickFor(shift, true), Extends(shift));
  }
  TWinControl::MouseDown(button, shift, x, y);
}

void TListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  const bool clicked = button == TMouseButton::mbLeft && tracking_;
  if (button == TMouseButton::mbLeft) tracking_ = false;
  if (clicked) Click();
  OnMouseUp(this, button, shift, x, y);
}

int TListBox::KeyTarget(std::uint16_t key) const {
  const int last = items_->Count() - 1;
  const int caret = ItemIndex();
  const int rows = RowsPerColumn();
  const int page = std::max((columns_ > 0 ? rows * columns_ : rows) - 1, 1);
  // Without a caret line every move lands on the first line.
  const auto step = [&](int delta) { return caret < 0 ? 0 : std::clamp(caret + delta, 0, last); };
  switch (key) {
    case VK_UP:
      return step(-1);
    case VK_DOWN:
      return step(1);
    case VK_LEFT:
      return step(columns_ > 0 ? -rows : -1);
    case VK_RIGHT:
      return step(columns_ > 0 ? rows : 1);
    case VK_PRIOR:
      return step(-page);
    case VK_NEXT:
      return step(page);
    case VK_HOME:
      return 0;
    case VK_END:
      return last;
    default:
      return -1;
  }
}

void TListBox::DefaultKeyDown(std::uint16_t key, TShiftState shift) {
  if (items_->Count() == 0) return;
  if (key == VK_SPACE && multiSelect_) {
    const int caret = ItemIndex();
    if (SelectAt(caret, extendedSelect_ ? Pick::Select : Pick::Toggle, false)) Click();
    return;
  }
  const int target = KeyTarget(key);
  if (target >= 0 && SelectAt(target, PickFor(shift, false), Extends(shift))) Click();
}

void TListBox::DefaultKeyPress(char key) {
  if (static_cast<unsigned char>(key) < 0x20) return;
  const int found = items_->NextStartingWith(key, items_->Current());
  if (found >= 0 && SelectAt(found, PickFor(0, false), false)) Click();
}

}  // namespace ox
