#include "ui/ListView.h"

#include <algorithm>

#include "ui/Canvas.h"
#include "ui/TakeFocus.h"

namespace ox {

namespace {

[[noreturn]] void IndexError(int index) {
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

const std::vector<std::string>& ViewStyleNames() {
  static const std::vector<std::string> names{"vsIcon", "vsSmallIcon", "vsList", "vsReport"};
  return names;
}

// ---- TListColumn -----------------------------------------------------------

const ClassInfo& TListColumn::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TListColumn>("TListColumn", &TCollectionItem::StaticClassInfo())
          .enumeration("Alignment", &TListColumn::Alignment, &TListColumn::SetAlignment,
                       AlignmentNames())
          .defaultValue(0)
          .property("AutoSize", &TListColumn::AutoSize, &TListColumn::SetAutoSize)
          .defaultValue(0)
          .property("Caption", &TListColumn::Caption, &TListColumn::SetCaption)
          .property("MaxWidth", &TListColumn::MaxWidth, &TListColumn::SetMaxWidth)
          .defaultValue(0)
          .property("MinWidth", &TListColumn::MinWidth, &TListColumn::SetMinWidth)
          .defaultValue(0)
          .property("Width", &TListColumn::Width, &TListColumn::SetWidth)
          .defaultValue(50)
          .build();
  return info;
}

void TListColumn::SetCaption(const std::string& caption) {
  caption_ = caption;
  Changed();
}

void TListColumn::SetWidth(int width) {
  widthType_ = width;
  if (width >= 0) width_ = Bounded(width);
  Changed();
}

void TListColumn::SetAutoSize(bool value) {
  autoSize_ = value;
  Changed();
}

void TListColumn::SetMinWidth(int value) {
  minWidth_ = std::max(value, 0);
  width_ = Bounded(width_);
  Changed();
}

void TListColumn::SetMaxWidth(int value) {
  maxWidth_ = std::max(value, 0);
  width_ = Bounded(width_);
  Changed();
}

int TListColumn::Bounded(int width) const {
  if (minWidth_ > 0 && width < minWidth_) width = minWidth_;
  if (maxWidth_ > 0 && width > maxWidth_) width = maxWidth_;
  return width;
}

void TListColumn::Changed() {
  if (auto* columns = dynamic_cast<TListColumns*>(Collection()))
    columns->Owner()->UpdateColumnWidths();
}

void TListColumn::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TListColumn*>(&source);
  if (other == nullptr) return TCollectionItem::Assign(source);
  caption_ = other->caption_;
  alignment_ = other->alignment_;
  autoSize_ = other->autoSize_;
  minWidth_ = other->minWidth_;
  maxWidth_ = other->maxWidth_;
  width_ = other->width_;
  SetWidth(other->widthType_);
}

const ClassInfo& TListColumns::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TListColumns>("TListColumns", &TCollection::StaticClassInfo()).build();
  return info;
}

TListColumns::TListColumns(TListView* owner)
    : TCollection(TListColumn::StaticClassInfo(),
                  [](TCollection* columns) -> std::unique_ptr<TCollectionItem> {
                    return std::make_unique<TListColumn>(columns);
                  }),
      owner_(owner) {}

// ---- TListItem -------------------------------------------------------------

const ClassInfo& TListItem::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TListItem>("TListItem", &TPersistent::StaticClassInfo())
          .property("Caption", &TListItem::Caption, &TListItem::SetCaption)
          .property("ImageIndex", &TListItem::ImageIndex, &TListItem::SetImageIndex)
          .property("StateIndex", &TListItem::StateIndex, &TListItem::SetStateIndex)
          .property("Checked", &TListItem::Checked, &TListItem::SetChecked)
          .object<TStrings>("SubItems", &TListItem::SubItems, &TListItem::SetSubItems)
          .build();
  return info;
}

TListItem::TListItem(TListItems* owner)
    : owner_(owner), subItems_(std::make_unique<TStringList>()) {
  subItems_->OnChange = MakeMethod<&TListItem::SubItemsChanged>(this);
}

TListItem::~TListItem() = default;

TListView* TListItem::ListView() const {
  return owner_->Owner();
}

int TListItem::Index() const {
  return owner_->IndexOf(this);
}

void TListItem::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  TListView* view = ListView();
  if (!view->ItemChanging(this, TItemChange::ctText)) return;
  caption_ = caption;
  view->ItemChanged(this, TItemChange::ctText);
  view->ItemTextChanged(this);
}

void TListItem::SetSubItems(TStrings* value) {
  if (value != nullptr) subItems_->Assign(*value);
}

void TListItem::SubItemsChanged(TObject*) {
  owner_->Touch();
  TListView* view = ListView();
  view->ItemChanged(this, TItemChange::ctText);
  view->UpdateColumnWidths();
}

void TListItem::SetImageIndex(int index) {
  if (index == imageIndex_) return;
  TListView* view = ListView();
  if (!view->ItemChanging(this, TItemChange::ctImage)) return;
  imageIndex_ = index;
  view->ItemChanged(this, TItemChange::ctImage);
}

void TListItem::SetStateIndex(int index) {
  if (index == stateIndex_) return;
  TListView* view = ListView();
  if (!view->ItemChanging(this, TItemChange::ctState)) return;
  stateIndex_ = index;
  view->ItemChanged(this, TItemChange::ctState);
}

void TListItem::SetData(void* data) {
  if (data == data_) return;
  data_ = data;
  ListView()->ItemDataChanged();
}

// Changes one state flag through OnChanging and OnChange; false when refused.
bool TListItem::ChangeState(bool TListItem::*flag, bool value) {
  if (this->*flag == value) return false;
  TListView* view = ListView();
  if (!view->ItemChanging(this, TItemChange::ctState)) return false;
  this->*flag = value;
  view->ItemChanged(this, TItemChange::ctState);
  return true;
}

void TListItem::SetChecked(bool value) {
  ChangeState(&TListItem::checked_, value);
}

void TListItem::SetSelected(bool value) {
  if (value == selected_) return;
  TListView* view = ListView();
  // A single-select list loses its other selection first, as the control does.
  if (value && !view->MultiSelect()) {
    for (int i = 0; i < owner_->Count(); ++i)
      if (TListItem* other = owner_->Item(i); other != this) other->SetSelected(false);
  }
  if (ChangeState(&TListItem::selected_, value)) view->ItemSelected(this, value);
}

void TListItem::SetFocused(bool value) {
  if (value == focused_) return;
  if (value) {
    if (TListItem* other = ListView()->ItemFocused()) other->SetFocused(false);
  }
  ChangeState(&TListItem::focused_, value);
}

void TListItem::Delete() {
  owner_->Delete(Index());
}

void TListItem::Update() {
  TListView* view = ListView();
  if (SortsByText(view->SortType()))
    view->Reposition(this);
  else if (view->SortType() != TSortType::stNone)
    view->AlphaSort();
  view->UpdateColumnWidths();
}

bool TListItem::EditCaption() {
  return ListView()->StartEdit(this);
}

void TListItem::MakeVisible() {
  TListView* view = ListView();
  if (view->ViewStyle() == TViewStyle::vsIcon) return;  // icon cells do not scroll here
  const int index = Index();
  const int rows = view->VisibleRowCount();
  if (index < view->topIndex_)
    view->topIndex_ = index;
  else if (index >= view->topIndex_ + rows)
    view->topIndex_ = index - rows + 1;
}

void TListItem::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TListItem*>(&source);
  if (other == nullptr) return TPersistent::Assign(source);
  SetCaption(other->caption_);
  subItems_->Assign(*other->subItems_);
  SetImageIndex(other->imageIndex_);
  SetStateIndex(other->stateIndex_);
  SetData(other->data_);
  SetChecked(other->checked_);
}

// ---- TListItems ------------------------------------------------------------

const ClassInfo& TListItems::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TListItems>("TListItems", &TPersistent::StaticClassInfo()).build();
  return info;
}

TListItems::~TListItems() = default;

TListItem* TListItems::Item(int index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return items_[static_cast<std::size_t>(index)].get();
}

int TListItems::IndexOf(const TListItem* item) const {
  for (int i = Count() - 1; i >= 0; --i)
    if (items_[static_cast<std::size_t>(i)].get() == item) return i;
  return -1;
}

TListItem* TListItems::Add() {
  return Insert(Count());
}

TListItem* TListItems::Insert(int index) {
  if (index < 0 || index > Count()) IndexError(index);
  auto* item = new TListItem(this);
  items_.insert(items_.begin() + index, std::unique_ptr<TListItem>(item));
  Touch();
  owner_->ItemInserted(item);
  return item;
}

void TListItems::Delete(int index) {
  TListItem* item = Item(index);
  owner_->ItemDeleting(item);
  // OnDeletion may have changed the list; remove the item wherever it is now.
  if (const int now = IndexOf(item); now >= 0) items_.erase(items_.begin() + now);
  Touch();
  owner_->topIndex_ = std::clamp(owner_->topIndex_, 0, std::max(Count() - 1, 0));
}

void TListItems::Clear() {
  std::vector<TListItem*> doomed;
  for (const auto& item : items_)
    doomed.push_back(item.get());
  for (TListItem* item : doomed)
    if (IndexOf(item) >= 0) owner_->ItemDeleting(item);
  items_.clear();
  Touch();
  owner_->topIndex_ = 0;
}

void TListItems::EndUpdate() {
  if (updateCount_ == 0 || --updateCount_ > 0) return;
  if (!changedInUpdate_) return;
  changedInUpdate_ = false;
  owner_->OnChange(owner_, nullptr, TItemChange::ctText);
}

void TListItems::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TListItems*>(&source);
  if (other == nullptr) return TPersistent::Assign(source);
  if (other == this) return;
  BeginUpdate();
  try {
    Clear();
    for (const auto& item : other->items_)
      Add()->Assign(*item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// ---- TListView -------------------------------------------------------------

const ClassInfo& TListView::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TListView>("TListView", &TWinControl::StaticClassInfo())
          .creatable()
          .object<TListColumns>("Columns", &TListView::Columns)
          .property("Checkboxes", &TListView::Checkboxes, &TListView::SetCheckboxes)
          .defaultValue(0)
          .property("ColumnClick", &TListView::ColumnClick, &TListView::SetColumnClick)
          .defaultValue(1)
          .property("GridLines", &TListView::GridLines, &TListView::SetGridLines)
          .defaultValue(0)
          .property("HideSelection", &TListView::HideSelection, &TListView::SetHideSelection)
          .defaultValue(1)
          .object<TListItems>("Items", &TListView::Items,
                              [](TListView& view, TListItems* items) {
                                if (items != nullptr) view.Items()->Assign(*items);
                              })
          .object<TCustomImageList>("LargeImages", &TListView::LargeImages,
                                    &TListView::SetLargeImages)
          .property("MultiSelect", &TListView::MultiSelect, &TListView::SetMultiSelect)
          .defaultValue(0)
          .property("ReadOnly", &TListView::ReadOnly, &TListView::SetReadOnly)
          .defaultValue(0)
          .property("RowSelect", &TListView::RowSelect, &TListView::SetRowSelect)
          .defaultValue(0)
          .property("ShowColumnHeaders", &TListView::ShowColumnHeaders,
                    &TListView::SetShowColumnHeaders)
          .defaultValue(1)
          .object<TCustomImageList>("SmallImages", &TListView::SmallImages,
                                    &TListView::SetSmallImages)
          .enumeration("SortType", &TListView::SortType, &TListView::SetSortType, SortTypeNames())
          .defaultValue(0)
          .object<TCustomImageList>("StateImages", &TListView::StateImages,
                                    &TListView::SetStateImages)
          .enumeration("ViewStyle", &TListView::ViewStyle, &TListView::SetViewStyle,
                       ViewStyleNames())
          .defaultValue(0)
          .event("OnChange", &TListView::OnChange)
          .event("OnChanging", &TListView::OnChanging)
          .event("OnColumnClick", &TListView::OnColumnClick)
          .event("OnCompare", &TListView::OnCompare)
          .event("OnDeletion", &TListView::OnDeletion)
          .event("OnEdited", &TListView::OnEdited)
          .event("OnEditing", &TListView::OnEditing)
          .event("OnInsert", &TListView::OnInsert)
          .event("OnSelectItem", &TListView::OnSelectItem)
          .build();
  return info;
}

TListView::TListView(TComponent* owner)
    : TWinControl(owner),
      columns_(std::make_unique<TListColumns>(this)),
      items_(std::make_unique<TListItems>(this)),
      editor_(new TEdit(nullptr)) {
  columns_->OnChange = MakeMethod<&TListView::ColumnsChanged>(this);
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 250, 150);
}

TListView::~TListView() = default;

void TListView::SetViewStyle(TViewStyle style) {
  viewStyle_ = style;
  topIndex_ = 0;
}

void TListView::SetMultiSelect(bool value) {
  if (value == multiSelect_) return;
  multiSelect_ = value;
  if (TListItem* first = Selected(); first != nullptr && !value) {
    for (int i = 0; i < items_->Count(); ++i)
      if (TListItem* item = items_->Item(i); item != first) item->SetSelected(false);
  }
}

void TListView::SetSortType(TSortType type) {
  if (type == sortType_) return;
  sortType_ = type;
  if (SortsByText(type) || (SortsByData(type) && OnCompare)) AlphaSort();
}

bool TListView::AlphaSort() {
  return CustomSort(nullptr, 0);
}

bool TListView::CustomSort(TLVCompare compare, std::intptr_t data) {
  Sort(compare, data);
  return true;
}

int TListView::Order(TListItem* a, TListItem* b, TLVCompare compare, std::intptr_t data) {
  if (compare != nullptr) return compare(a, b, data);
  if (!OnCompare) return CompareItemText(a->Caption(), b->Caption());
  int result = 0;
  OnCompare(this, a, b, static_cast<int>(data), result);
  return result;
}

void TListView::Sort(TLVCompare compare, std::intptr_t data) {
  // A stable merge sort stays within bounds even when a handler's order is
  // inconsistent.
  std::stable_sort(items_->items_.begin(), items_->items_.end(), [&](const auto& a, const auto& b) {
    return Order(a.get(), b.get(), compare, data) < 0;
  });
  items_->Touch();
}

// The place a stable sort gives the item: after the items that sort before it, and
// among those that compare equal after the ones that stood before it. Binary search
// keeps adding to a long sorted list fast; it stays within bounds for any handler.
void TListView::Reposition(TListItem* item) {
  auto& items = items_->items_;
  const int from = items_->IndexOf(item);
  if (from < 0) return;
  const auto at = items.begin() + from;
  const auto before = [&](const std::unique_ptr<TListItem>& other, TListItem* x) {
    return Order(other.get(), x, nullptr, 0) < 0;
  };
  const auto after = [&](TListItem* x, const std::unique_ptr<TListItem>& other) {
    return Order(x, other.get(), nullptr, 0) < 0;
  };
  // The others are in order: when some before the item sort after it, it goes before
  // the first of them; otherwise after those behind it that sort before it.
  if (const auto place = std::upper_bound(items.begin(), at, item, after); place != at) {
    std::rotate(place, at, at + 1);
    items_->Touch();
    return;
  }
  const auto place = std::lower_bound(at + 1, items.end(), item, before);
  if (place != at + 1) {
    std::rotate(at, at + 1, place);
    items_->Touch();
  }
}

TListItem* TListView::Selected() const {
  for (const auto& item : items_->items_)
    if (item->Selected()) return item.get();
  return nullptr;
}

void TListView::SetSelected(TListItem* item) {
  if (item == nullptr) return ClearSelection();
  if (item->ListView() == this) item->SetSelected(true);
}

int TListView::ItemIndex() const {
  const TListItem* item = Selected();
  return item != nullptr ? item->Index() : -1;
}

void TListView::SetItemIndex(int index) {
  if (index == -1) return ClearSelection();
  items_->Item(index)->SetSelected(true);
}

TListItem* TListView::ItemFocused() const {
  for (const auto& item : items_->items_)
    if (item->Focused()) return item.get();
  return nullptr;
}

void TListView::SetItemFocused(TListItem* item) {
  if (item != nullptr && item->ListView() == this) {
    item->SetFocused(true);
  } else if (TListItem* focused = ItemFocused()) {
    focused->SetFocused(false);
  }
}

int TListView::SelCount() const {
  return static_cast<int>(std::count_if(items_->items_.begin(), items_->items_.end(),
                                        [](const auto& item) { return item->Selected(); }));
}

void TListView::ClearSelection() {
  for (int i = 0; i < items_->Count(); ++i)
    items_->Item(i)->SetSelected(false);
}

// ---- notifications ---------------------------------------------------------

bool TListView::ItemChanging(TListItem* item, TItemChange change) {
  bool allow = true;
  OnChanging(this, item, change, allow);
  return allow;
}

void TListView::ItemChanged(TListItem* item, TItemChange change) {
  if (items_->Updating()) {
    items_->changedInUpdate_ = true;
    return;
  }
  OnChange(this, item, change);
}

void TListView::ItemSelected(TListItem* item, bool selected) {
  OnSelectItem(this, item, selected);
}

void TListView::ItemInserted(TListItem* item) {
  OnInsert(this, item);
}

void TListView::ItemDeleting(TListItem* item) {
  if (editing_ == item) editing_ = nullptr;
  OnDeletion(this, item);
}

void TListView::ItemTextChanged(TListItem* item) {
  if (SortsByText(sortType_)) Reposition(item);
  UpdateColumnWidths();
}

void TListView::ItemDataChanged() {
  if (SortsByData(sortType_)) AlphaSort();
}

void TListView::ColumnsChanged(TObject*) {
  UpdateColumnWidths();
}

// ---- column widths ---------------------------------------------------------

void TListView::UpdateColumnWidths() {
  std::unique_ptr<TCanvas> canvas;  // measured with only when a column fits its texts
  for (int i = 0; i < columns_->Count(); ++i) {
    TListColumn* column = columns_->Items(i);
    if (column->widthType_ >= 0) continue;
    if (!canvas) {
      canvas = std::make_unique<TCanvas>();
      canvas->Font().Assign(*Font());
    }
    column->width_ = column->Bounded(FittedWidth(*column, *canvas));
  }
  ShareAutoSizeWidth();
}

int TListView::FittedWidth(const TListColumn& column, TCanvas& canvas) const {
  const int index = column.Index();
  int widest = column.widthType_ == -2 ? canvas.TextWidth(column.Caption()) : 0;
  for (const auto& item : items_->items_) {
    if (index == 0) {
      widest = std::max(widest, canvas.TextWidth(item->Caption()));
    } else if (index - 1 < item->SubItems()->Count()) {
      widest = std::max(widest, canvas.TextWidth(item->SubItems()->Strings(index - 1)));
    }
  }
  return widest + kTextMargin;
}

// AutoSize columns share what the other columns leave of the client width, the first
// taking the remainder of the division.
void TListView::ShareAutoSizeWidth() {
  std::vector<TListColumn*> sharing;
  int rest = ClientWidth();
  for (int i = 0; i < columns_->Count(); ++i) {
    TListColumn* column = columns_->Items(i);
    if (column->AutoSize())
      sharing.push_back(column);
    else
      rest -= column->Width();
  }
  if (sharing.empty()) return;
  rest = std::max(rest, 0);
  const int count = static_cast<int>(sharing.size());
  for (int i = 0; i < count; ++i)
    sharing[static_cast<std::size_t>(i)]->width_ =
        sharing[static_cast<std::size_t>(i)]->Bounded(rest / count + (i == 0 ? rest % count : 0));
}

void TListView::BoundsChanged() {
  TWinControl::BoundsChanged();
  ShareAutoSizeWidth();
}

// ---- layout, mouse and keys ------------------------------------------------

int TListView::HeaderHeight() const {
  return viewStyle_ == TViewStyle::vsReport && showColumnHeaders_ ? kHeaderHeight : 0;
}

int TListView::VisibleRowCount() const {
  return std::max(1, (ClientHeight() - HeaderHeight()) / kRowHeight);
}

int TListView::IndexAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight()) return -1;
  if (viewStyle_ == TViewStyle::vsIcon) {
    const int perRow = std::max(1, ClientWidth() / kIconCellWidth);
    if (x / kIconCellWidth >= perRow) return -1;
    return (y / kIconCellHeight) * perRow + x / kIconCellWidth;
  }
  if (y < HeaderHeight()) return -1;
  // Without whole-row selection only the caption column of a report takes clicks.
  if (viewStyle_ == TViewStyle::vsReport && !rowSelect_ && columns_->Count() > 0 &&
      x >= columns_->Items(0)->Width())
    return -1;
  return topIndex_ + (y - HeaderHeight()) / kRowHeight;
}

TListItem* TListView::GetItemAt(int x, int y) const {
  const int index = IndexAt(x, y);
  return index >= 0 && index < items_->Count() ? items_->Item(index) : nullptr;
}

int TListView::ColumnAt(int x) const {
  for (int i = 0, left = 0; i < columns_->Count(); ++i) {
    left += columns_->Items(i)->Width();
    if (x < left) return i;
  }
  return -1;
}

void TListView::SelectOnly(TListItem* item) {
  for (int i = 0; i < items_->Count(); ++i)
    if (TListItem* other = items_->Item(i); other != item) other->SetSelected(false);
  item->SetSelected(true);
  item->SetFocused(true);
  item->MakeVisible();
}

void TListView::SelectRange(TListItem* to) {
  const TListItem* from = ItemFocused();
  const int a = from != nullptr ? from->Index() : 0;
  const int b = to->Index();
  for (int i = 0; i < items_->Count(); ++i)
    items_->Item(i)->SetSelected(i >= std::min(a, b) && i <= std::max(a, b));
  to->SetFocused(true);
}

void TListView::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  EndEdit(true);  // a click anywhere ends caption editing
  TakeFocus(*this);
  if (y >= 0 && y < HeaderHeight()) {
    // The header is a window of its own: its press is no press of the list.
    if (button == TMouseButton::mbLeft) pressedColumn_ = ColumnAt(x);
    return;
  }
  TListItem* item = GetItemAt(x, y);
  const bool extend = multiSelect_ && (shift & (ssCtrl | ssShift)) != 0;
  if (button != TMouseButton::mbLeft) {
    if (item != nullptr && !item->Selected()) SelectOnly(item);
  } else if (item == nullptr) {
    if (!extend) ClearSelection();
  } else if (multiSelect_ && (shift & ssCtrl) != 0) {
    item->SetSelected(!item->Selected());
    item->SetFocused(true);
  } else if (multiSelect_ && (shift & ssShift) != 0) {
    SelectRange(item);
  } else {
    SelectOnly(item);
  }
  TWinControl::MouseDown(button, shift, x, y);
}

void TListView::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft && pressedColumn_ >= 0) {
    const int pressed = std::exchange(pressedColumn_, -1);
    if (columnClick_ && y >= 0 && y < HeaderHeight() && ColumnAt(x) == pressed)
      OnColumnClick(this, columns_->Items(pressed));
    return;
  }
  TWinControl::MouseUp(button, shift, x, y);
}

bool TListView::WantsKey(std::uint16_t key, TShiftState shift) const {
  if (editing_ != nullptr && (key == VK_RETURN || key == VK_ESCAPE)) return true;
  return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN ||
         TWinControl::WantsKey(key, shift);
}

void TListView::MoveFocusTo(int index) {
  if (items_->Count() == 0) return;
  SelectOnly(items_->Item(std::clamp(index, 0, items_->Count() - 1)));
}

void TListView::DefaultKeyDown(std::uint16_t key, TShiftState shift) {
  TListItem* focused = ItemFocused();
  const int current = focused != nullptr ? focused->Index() : -1;
  switch (key) {
    case VK_UP:
      return MoveFocusTo(current - 1);
    case VK_DOWN:
      return MoveFocusTo(current + 1);
    case VK_HOME:
      return MoveFocusTo(0);
    case VK_END:
      return MoveFocusTo(items_->Count() - 1);
    case VK_PRIOR:
      return MoveFocusTo(current - VisibleRowCount());
    case VK_NEXT:
      return MoveFocusTo(current + VisibleRowCount());
    case VK_SPACE:
      if (checkboxes_ && focused != nullptr) focused->SetChecked(!focused->Checked());
      return;
    case VK_F2:
      if (focused != nullptr) StartEdit(focused);
      return;
    default:
      return TWinControl::DefaultKeyDown(key, shift);
  }
}

LRESULT TListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const bool key = message == WM_KEYDOWN || message == WM_CHAR;
  if (key && swallowEndChar_) {
    swallowEndChar_ = false;
    if (message == WM_CHAR && (wParam == '\r' || wParam == 0x1B)) return 0;
  }
  // The caption editor is a window of the list's own: its keys reach neither the
  // form's key preview nor the list's key events.
  if (key && editing_ != nullptr) {
    EditorKey(message, wParam, lParam);
    return 0;
  }
  return TWinControl::WindowProc(message, wParam, lParam);
}

void TListView::DoExit() {
  EndEdit(true);
  TWinControl::DoExit();
}

// ---- in-place caption editing ----------------------------------------------

bool TListView::StartEdit(TListItem* item) {
  if (readOnly_ || item == nullptr || item->ListView() != this) return false;
  EndEdit(true);
  bool allow = true;
  OnEditing(this, item, allow);
  if (!allow || items_->IndexOf(item) < 0) return false;
  editing_ = item;
  editor_->SetText(item->Caption());
  editor_->SelectAll();
  item->MakeVisible();
  return true;
}

void TListView::EndEdit(bool accept) {
  TListItem* item = std::exchange(editing_, nullptr);
  if (item == nullptr || !accept) return;
  std::string text = editor_->Text();
  OnEdited(this, item, text);
  // The handler may have deleted the item.
  if (items_->IndexOf(item) >= 0) item->SetCaption(text);
}

// Enter keeps the edited caption, Escape drops it; other keys edit the text.
void TListView::EditorKey(UINT message, WPARAM key, LPARAM lParam) {
  if (message == WM_KEYDOWN && (key == VK_RETURN || key == VK_ESCAPE)) {
    swallowEndChar_ = true;
    EndEdit(key == VK_RETURN);
  } else {
    editor_->Perform(message, key, lParam);
  }
}

}  // namespace ox
