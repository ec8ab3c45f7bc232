// The list box: a column (or Columns columns) of ItemHeight-high rows from TopIndex
// on. Single-select boxes have one selected line, ItemIndex; multi-select boxes mark
// lines (Selected, SelCount) and ItemIndex is the caret line. A click on a line, the
// arrow, Home, End and page keys and a typed first character change the selection
// as the window control does (with ExtendedSelect: Shift extends, Ctrl toggles), then
// fire OnClick; code that sets ItemIndex or Selected fires nothing.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/Controls.h"
#include "ui/ListControlItems.h"

namespace ox {

enum class TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };

class TListBox : public TWinControl {
 public:
  OX_CLASS_INFO()
  explicit TListBox(TComponent* owner);

  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* items);
  // The selected line (single-select) or the caret line (multi-select; the first line
  // until moved); -1 for none.
  int ItemIndex() const;
  // Selects the line (single-select) or moves the caret to it (multi-select).
  void SetItemIndex(int index);
  // Raise EListError for an index outside the lines.
  bool Selected(int index) const;
  void SetSelected(int index, bool selected);
  // The number of marked lines; -1 for a single-select box.
  int SelCount() const;
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool value);
  bool ExtendedSelect() const { return extendedSelect_; }
  void SetExtendedSelect(bool value) { extendedSelect_ = value; }
  bool Sorted() const { return items_->Sorted(); }
  void SetSorted(bool value) { items_->SetSorted(value); }
  int Columns() const { return columns_; }
  void SetColumns(int value);  // 0: one column that scrolls vertically
  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle value) { style_ = value; }
  // Standard boxes take the height of a line of their font; owner-drawn ones the value set.
  int ItemHeight() const;
  void SetItemHeight(int value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value) { borderStyle_ = value; }
  int TopIndex() const;
  void SetTopIndex(int index);
  void Clear() { items_->Clear(); }
  // The line at a point of the client area, or -1.
  int ItemAtPos(int x, int y) const;

  int ClientWidth() const override;
  int ClientHeight() const override;
  bool WantsKey(std::uint16_t key, TShiftState shift) const override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  // A press on a line ends with OnClick, wherever the button is released.
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 protected:
  void DefaultKeyDown(std::uint16_t key, TShiftState shift) override;
  void DefaultKeyPress(char key) override;

 private:
  // What a click or key does to the line it reaches.
  enum class Pick { Select, Toggle, Caret };

  int RowsPerColumn() const;
  // The line a navigation key moves the caret to; -1 for other keys.
  int KeyTarget(std::uint16_t key) const;
  // Moves the caret to `index` and picks the line; `extend` selects from the anchor
  // instead (multi-select with ExtendedSelect). Answers whether the selection or the
  // caret changed.
  bool SelectAt(int index, Pick pick, bool extend);
  // How a click or a navigation key with `shift` picks in this mode.
  Pick PickFor(TShiftState shift, bool click) const;
  // Whether Shift extends the selection from the anchor (ExtendedSelect).
  bool Extends(TShiftState shift) const;
  void ScrollIntoView(int index);

  std::unique_ptr<TListControlItems> items_;
  bool multiSelect_ = false;
  bool extendedSelect_ = true;
  int columns_ = 0;
  TListBoxStyle style_ = TListBoxStyle::lbStandard;
  int itemHeight_ = 16;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
  int topIndex_ = 0;
  int anchor_ = -1;        // where a Shift-extended selection starts
  bool tracking_ = false;  // the left button went down on a line
};

// The names of TListBoxStyle for form resources.
const std::vector<std::string>& ListBoxStyleNames();

}  // namespace ox
