// The list view: items with a caption, sub-items, an image, a check box and a
// selection, shown as icons, a list or a report with columns. Selection follows clicks
// (Ctrl and Shift extend it in a multi-select list) and the Up, Down, Home, End, Page
// Up and Page Down keys; Space toggles the check box; F2 (or EditCaption) edits a
// caption in place unless the list is read-only.
//
// Layout, in client coordinates: in report style a header of HeaderHeight (when
// ShowColumnHeaders) and then one row of RowHeight per item from TopIndex; in list
// and small-icon style the rows start at the top; in icon style items sit in cells of
// IconCellWidth by IconCellHeight, row by row across the client width.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/Classes.h"
#include "ui/Controls.h"
#include "ui/Edit.h"
#include "ui/ImageList.h"
#include "ui/SortType.h"

namespace ox {

class TListView;
class TListItems;

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
// What changed in an item: its texts, its image, or its state (selected, focused,
// checked).
enum class TItemChange { ctText, ctImage, ctState };

// A column of the report style. Width -1 fits the widest text of the column, -2 that
// and the caption; AutoSize columns share the client width the others leave.
class TListColumn : public TCollectionItem {
 public:
  OX_CLASS_INFO()
  explicit TListColumn(TCollection* collection) : TCollectionItem(collection) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  // The width in pixels (also for fitted and shared widths).
  int Width() const { return width_; }
  void SetWidth(int width);
  // The width as set: pixels, or -1 / -2 for fitted widths.
  int WidthType() const { return widthType_; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment) { alignment_ = alignment; }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  int MinWidth() const { return minWidth_; }
  void SetMinWidth(int value);
  int MaxWidth() const { return maxWidth_; }
  void SetMaxWidth(int value);
  void Assign(const TPersistent& source) override;

 private:
  friend class TListView;
  void Changed();
  int Bounded(int width) const;

  std::string caption_;
  int width_ = 50;
  int widthType_ = 50;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  bool autoSize_ = false;
  int minWidth_ = 0;
  int maxWidth_ = 0;
};

class TListColumns : public TCollection {
 public:
  OX_CLASS_INFO()
  explicit TListColumns(TListView* owner);
  TListView* Owner() const { return owner_; }
  TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
  TListColumn* Items(int index) const {
    return static_cast<TListColumn*>(TCollection::Items(index));
  }

 private:
  TListView* owner_;
};

// One item. Changes go through the list view: OnChanging may refuse them, OnChange
// follows them, and selection changes also fire OnSelectItem.
class TListItem : public TPersistent {
 public:
  OX_CLASS_INFO()
  explicit TListItem(TListItems* owner);
  ~TListItem() override;
  TListItem(const TListItem&) = delete;
  TListItem& operator=(const TListItem&) = delete;

  TListItems* Owner() const { return owner_; }
  TListView* ListView() const;
  int Index() const;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  // The texts of the further columns; changing them is a text change of the item.
  TStrings* SubItems() const { return subItems_.get(); }
  void SetSubItems(TStrings* value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);
  int StateIndex() const { return stateIndex_; }
  void SetStateIndex(int index);
  void* Data() const { return data_; }
  void SetData(void* data);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  bool Selected() const { return selected_; }
  void SetSelected(bool value);
  bool Focused() const { return focused_; }
  void SetFocused(bool value);

  // Removes the item from its list and frees it.
  void Delete();
  // Refreshes the item after its data changed elsewhere: the list sorts again when it
  // keeps an order, and fitted column widths follow the texts.
  void Update();
  // Starts editing the caption in place; false when the list does not allow it.
  bool EditCaption();
  // Scrolls the list so that the item is shown.
  void MakeVisible();
  void Assign(const TPersistent& source) override;

 private:
  friend class TListView;
  bool ChangeState(bool TListItem::*flag, bool value);
  void SubItemsChanged(TObject* sender);

  TListItems* owner_;
  std::string caption_;
  std::unique_ptr<TStringList> subItems_;
  int imageIndex_ = -1;
  int stateIndex_ = -1;
  void* data_ = nullptr;
  bool checked_ = false;
  bool selected_ = false;
  bool focused_ = false;
};

// The items of a list view, in display order. Between BeginUpdate and EndUpdate the
// list view holds back OnChange and fires it once at the end when anything changed.
// ChangeStamp moves with every change of the items (insertion, deletion, texts, order),
// so that what a program derives from them can be kept until they change.
class TListItems : public TPersistent {
 public:
  OX_CLASS_INFO()
  explicit TListItems(TListView* owner) : owner_(owner) {}
  ~TListItems() override;
  TListItems(const TListItems&) = delete;
  TListItems& operator=(const TListItems&) = delete;

  TListView* Owner() const { return owner_; }
  int Count() const { return static_cast<int>(items_.size()); }
  std::uint64_t ChangeStamp() const { return changeStamp_; }
  // Raises EListError for an index outside the list.
  TListItem* Item(int index) const;
  TListItem* operator[](int index) const { return Item(index); }
  // Searches from the end, where the items a program has just added are.
  int IndexOf(const TListItem* item) const;
  TListItem* Add();
  TListItem* Insert(int index);
  void Delete(int index);
  void Clear();
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  bool Updating() const { return updateCount_ > 0; }
  void Assign(const TPersistent& source) override;

 private:
  friend class TListView;
  friend class TListItem;

  void Touch() { ++changeStamp_; }

  TListView* owner_;
  std::vector<std::unique_ptr<TListItem>> items_;
  int updateCount_ = 0;
  bool changedInUpdate_ = false;
  std::uint64_t changeStamp_ = 0;
};

using TLVChangeEvent = Event<TObject*, TListItem*, TItemChange>;
using TLVChangingEvent = Event<TObject*, TListItem*, TItemChange, bool&>;
using TLVSelectItemEvent = Event<TObject*, TListItem*, bool>;
using TLVColumnClickEvent = Event<TObject*, TListColumn*>;
using TLVCompareEvent = Event<TObject*, TListItem*, TListItem*, int, int&>;
using TLVEditingEvent = Event<TObject*, TListItem*, bool&>;
using TLVEditedEvent = Event<TObject*, TListItem*, std::string&>;
using TLVDeletedEvent = Event<TObject*, TListItem*>;
// A sort order given by code: negative, zero or positive as the first item sorts
// before, with or after the second.
using TLVCompare = int (*)(TListItem* item1, TListItem* item2, std::intptr_t data);

class TListView : public TWinControl {
 public:
  OX_CLASS_INFO()
  explicit TListView(TComponent* owner);
  ~TListView() override;

  TListColumns* Columns() const { return columns_.get(); }
  TListColumn* Column(int index) const { return columns_->Items(index); }
  TListItems* Items() const { return items_.get(); }

  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle style);
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool value) { rowSelect_ = value; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool value) { hideSelection_ = value; }
  bool MultiSelect() const { return multiSelect_; }
  // Leaving multi-select keeps only the first selected item selected.
  void SetMultiSelect(bool value);
  bool GridLines() const { return gridLines_; }
  void SetGridLines(bool value) { gridLines_ = value; }
  bool Checkboxes() const { return checkboxes_; }
  void SetCheckboxes(bool value) { checkboxes_ = value; }
  bool ColumnClick() const { return columnClick_; }
  void SetColumnClick(bool value) { columnClick_ = value; }
  bool ShowColumnHeaders() const { return showColumnHeaders_; }
  void SetShowColumnHeaders(bool value) { showColumnHeaders_ = value; }
  // A list that keeps an order by text is sorted when the order is set and stays so: an
  // item whose caption changes (or that is updated) moves to its place among the others
  // (after the items that compare equal and stood before it, as a stable sort leaves
  // it); a new item waits at the end for its caption. A program that changes what
  // OnCompare answers sorts again with AlphaSort.
  TSortType SortType() const { return sortType_; }
  // Sorts at once when the new order can be kept (by text, or by data with OnCompare).
  void SetSortType(TSortType type);
  // Image lists, held as references that read as null once the list is freed.
  TCustomImageList* LargeImages() const { return largeImages_.get(); }
  void SetLargeImages(TCustomImageList* images) { largeImages_ = images; }
  TCustomImageList* SmallImages() const { return smallImages_.get(); }
  void SetSmallImages(TCustomImageList* images) { smallImages_ = images; }
  TCustomImageList* StateImages() const { return stateImages_.get(); }
  void SetStateImages(TCustomImageList* images) { stateImages_ = images; }

  // Sorts by OnCompare (Data 0), or by caption without one.
  bool AlphaSort();
  // Sorts by `compare`, or as AlphaSort with `data` for OnCompare when it is null.
  bool CustomSort(TLVCompare compare, std::intptr_t data);

  // The first selected item; setting selects the item (keeping others in a
  // multi-select list), null clears the selection.
  TListItem* Selected() const;
  void SetSelected(TListItem* item);
  int ItemIndex() const;
  // Selects the item of that index; -1 clears the selection.
  void SetItemIndex(int index);
  TListItem* ItemFocused() const;
  void SetItemFocused(TListItem* item);
  int SelCount() const;
  void ClearSelection();

  // The item at a point of the client area, or null.
  TListItem* GetItemAt(int x, int y) const;
  int TopIndex() const { return topIndex_; }
  int VisibleRowCount() const;
  static constexpr int RowHeight() { return kRowHeight; }
  // The height of the column headers: 0 unless they show in report style.
  int HeaderHeight() const;
  static constexpr int IconCellWidth() { return kIconCellWidth; }
  static constexpr int IconCellHeight() { return kIconCellHeight; }

  // In-place caption editing: the item being edited and its editor (an edit of the
  // list's own, outside the form), or null.
  bool IsEditing() const { return editing_ != nullptr; }
  TListItem* EditingItem() const { return editing_; }
  const TCustomEdit* Editor() const { return editing_ != nullptr ? editor_.get() : nullptr; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool WantsKey(std::uint16_t key, TShiftState shift) const override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void DoExit() override;

  TLVChangeEvent OnChange;
  TLVChangingEvent OnChanging;
  TLVSelectItemEvent OnSelectItem;
  TLVColumnClickEvent OnColumnClick;
  TLVCompareEvent OnCompare;
  TLVEditingEvent OnEditing;
  TLVEditedEvent OnEdited;
  TLVDeletedEvent OnInsert;
  TLVDeletedEvent OnDeletion;

 protected:
  void DefaultKeyDown(std::uint16_t key, TShiftState shift) override;
  void BoundsChanged() override;
  void FontChanged() override { UpdateColumnWidths(); }

 private:
  friend class TListItem;
  friend class TListItems;
  friend class TListColumn;

  static constexpr int kRowHeight = 17;
  static constexpr int kHeaderHeight = 19;
  static constexpr int kIconCellWidth = 75;
  static constexpr int kIconCellHeight = 70;
  static constexpr int kTextMargin = 12;

  // The notifications of items and columns.
  bool ItemChanging(TListItem* item, TItemChange change);
  void ItemChanged(TListItem* item, TItemChange change);
  void ItemSelected(TListItem* item, bool selected);
  void ItemInserted(TListItem* item);
  void ItemDeleting(TListItem* item);
  void ItemTextChanged(TListItem* item);
  void ItemDataChanged();
  void ColumnsChanged(TObject* sender);
  void UpdateColumnWidths();
  void ShareAutoSizeWidth();
  int FittedWidth(const TListColumn& column, TCanvas& canvas) const;

  // The order of two items: `compare`, else OnCompare, else their captions.
  int Order(TListItem* a, TListItem* b, TLVCompare compare, std::intptr_t data);
  void Sort(TLVCompare compare, std::intptr_t data);
  // Moves one item of an otherwise sorted list to its place.
  void Reposition(TListItem* item);
  // Keyboard and mouse selection: the item alone becomes selected and focused.
  void SelectOnly(TListItem* item);
  void SelectRange(TListItem* to);
  void MoveFocusTo(int index);
  int IndexAt(int x, int y) const;
  int ColumnAt(int x) const;
  bool StartEdit(TListItem* item);
  void EndEdit(bool accept);
  void EditorKey(UINT message, WPARAM key, LPARAM lParam);

  std::unique_ptr<TListColumns> columns_;
  std::unique_ptr<TListItems> items_;
  TViewStyle viewStyle_ = TViewStyle::vsIcon;
  bool rowSelect_ = false;
  bool readOnly_ = false;
  bool hideSelection_ = true;
  bool multiSelect_ = false;
  bool gridLines_ = false;
  bool checkboxes_ = false;
  bool columnClick_ = true;
  bool showColumnHeaders_ = true;
  TSortType sortType_ = TSortType::stNone;
  ComponentRef<TCustomImageList> largeImages_;
  ComponentRef<TCustomImageList> smallImages_;
  ComponentRef<TCustomImageList> stateImages_;
  int topIndex_ = 0;
  int pressedColumn_ = -1;       // the header pressed, clicked when released over it
  bool swallowEndChar_ = false;  // the Enter or Escape character after an edit ended
  TListItem* editing_ = nullptr;
  Owned<TEdit> editor_;
};

const std::vector<std::string>& ViewStyleNames();

}  // namespace ox
