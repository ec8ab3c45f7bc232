#include "ui/Grid.h"

#include <algorithm>
#include <cstdlib>

#include "ui/Forms.h"
#include "ui/TakeFocus.h"

namespace ox {

namespace {

constexpr int kBorderReach = 2;  // how near a line's edge a press starts sizing it

// Where a line at `index` ends up when the line `from` moves to `to`.
int MovedIndex(int index, int from, int to) {
  if (index == from) return to;
  if (from < to && index > from && index <= to) return index - 1;
  if (to < from && index >= to && index < from) return index + 1;
  return index;
}

}  // namespace

const std::vector<std::string>& GridOptionNames() {
  static const std::vector<std::string> names{
      "goFixedVertLine", "goFixedHorzLine",     "goVertLine",     "goHorzLine",
      "goRangeSelect",   "goDrawFocusSelected", "goRowSizing",    "goColSizing",
      "goRowMoving",     "goColMoving",         "goEditing",      "goTabs",
      "goRowSelect",     "goAlwaysShowEditor",  "goThumbTracking"};
  return names;
}

// ---- TInplaceEdit ----------------------------------------------------------

const ClassInfo& TInplaceEdit::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TInplaceEdit>("TInplaceEdit", &TCustomEdit::StaticClassInfo()).build();
  return info;
}

TInplaceEdit::TInplaceEdit(TCustomGrid* grid) : TCustomEdit(grid), grid_(grid) {
  InitVisible(false);
  SetTabStop(false);
  SetAutoSelect(false);
  SetBorderStyle(TBorderStyle::bsNone);
  SetParent(grid);
}

bool TInplaceEdit::WantsKey(std::uint16_t key, TShiftState shift) const {
  return (key == VK_TAB && (grid_->Options() & goTabs) != 0) || TCustomEdit::WantsKey(key, shift);
}

// Whether a key moves in the grid rather than in the text.
bool TInplaceEdit::ForGrid(std::uint16_t key, TShiftState shift) const {
  const bool always = (grid_->Options() & goAlwaysShowEditor) != 0;
  const bool ctrl = (shift & ssCtrl) != 0;
  const int size = static_cast<int>(Text().size());
  const bool leftSide = SelStart() == 0 && (SelLength() == 0 || SelLength() == size);
  const bool rightSide = (SelStart() == 0 || SelLength() == 0) && SelStart() + SelLength() == size;
  switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_ESCAPE:
      return true;
    case VK_INSERT:
      return shift == 0;
    case VK_LEFT:
    case VK_HOME:
      return always && (ctrl || leftSide);
    case VK_RIGHT:
    case VK_END:
      return always && (ctrl || rightSide);
    case VK_TAB:
      return (shift & ssAlt) == 0;
    case VK_DELETE:
      return ctrl;
    default:
      return false;
  }
}

void TInplaceEdit::KeyDown(std::uint16_t& key, TShiftState shift) {
  if (ForGrid(key, shift)) {
    grid_->EditorKey(key, shift);
    key = 0;
    return;
  }
  grid_->OnKeyDown(grid_, key, shift);
  if (key == VK_F2) {
    SetSelStart(static_cast<int>(Text().size()));  // F2 again: the caret to the end
    key = 0;
    return;
  }
  if (key != 0) TCustomEdit::KeyDown(key, shift);
}

void TInplaceEdit::KeyPress(char& key) {
  grid_->KeyPress(key);
  if (key == '\t' || key == 0x1B) key = 0;
  if (key == '\r') {
    if (SelStart() == 0 && SelLength() == static_cast<int>(Text().size()))
      SetSelStart(SelLength());
    else
      SelectAll();
    key = 0;
  }
  if (key != 0 && (grid_->Options() & goEditing) == 0) key = 0;
  if (key != 0) TCustomEdit::KeyPress(key);
}

void TInplaceEdit::Change() {
  TCustomEdit::Change();
  grid_->EditorChanged();
}

// ---- TCustomGrid: lines ----------------------------------------------------

int TCustomGrid::Axis::Start(int index, int lineWidth) const {
  if (index < 0 || index >= count || (index >= fixed && index < first)) return -1;
  int pos = 0;
  for (int i = FirstShown(); i < index; i = NextShown(i))
    pos += sizes[static_cast<std::size_t>(i)] + lineWidth;
  return pos;
}

int TCustomGrid::Axis::IndexAt(int pos, int lineWidth) const {
  if (pos < 0) return -1;
  for (int i = FirstShown(), end = 0; i < count; i = NextShown(i)) {
    end += sizes[static_cast<std::size_t>(i)] + lineWidth;
    if (pos < end) return i;
  }
  return -1;
}

int TCustomGrid::Axis::BorderAt(int pos, int lineWidth) const {
  for (int i = FirstShown(), end = 0; i < count; i = NextShown(i)) {
    end += sizes[static_cast<std::size_t>(i)];
    if (std::abs(pos - end) <= kBorderReach) return i;
    end += lineWidth;
  }
  return -1;
}

int TCustomGrid::Axis::FullyShown(int extent, int lineWidth) const {
  int end = 0;
  for (int i = 0; i < fixed; ++i)
    end += sizes[static_cast<std::size_t>(i)] + lineWidth;
  int shown = 0;
  for (int i = first; i < count; ++i) {
    end += sizes[static_cast<std::size_t>(i)];
    if (end > extent) break;
    end += lineWidth;
    ++shown;
  }
  return std::max(shown, 1);
}

// Scrolls as little as needed for line `index` to show; true when `first` changed.
bool TCustomGrid::Axis::ScrollTo(int index, int extent, int lineWidth) {
  if (index < fixed) return false;
  const int before = first;
  if (index < first) first = index;
  while (first < index && Start(index, lineWidth) + sizes[static_cast<std::size_t>(index)] > extent)
    ++first;
  return first != before;
}

// The last `first` that still fills the extent: scrolling further would only show
// empty space after the last line.
int TCustomGrid::Axis::MaxFirst(int extent, int lineWidth) const {
  int room = extent;
  for (int i = 0; i < fixed; ++i)
    room -= sizes[static_cast<std::size_t>(i)] + lineWidth;
  int last = count - 1;
  int used = sizes[static_cast<std::size_t>(last)] + lineWidth;
  while (last - 1 >= fixed && used + sizes[static_cast<std::size_t>(last - 1)] + lineWidth <= room)
    used += sizes[static_cast<std::size_t>(--last)] + lineWidth;
  return std::max(last, fixed);
}

void TCustomGrid::Axis::Resize(int newCount) {
  count = newCount;
  sizes.resize(static_cast<std::size_t>(newCount), defaultSize);
  fixed = std::min(fixed, newCount - 1);
  first = std::clamp(first, fixed, std::max(fixed, newCount - 1));
}

void TCustomGrid::Axis::MoveLine(int from, int to) {
  const int size = sizes[static_cast<std::size_t>(from)];
  sizes.erase(sizes.begin() + from);
  sizes.insert(sizes.begin() + to, size);
}

// ---- TCustomGrid -----------------------------------------------------------

const ClassInfo& TCustomGrid::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TCustomGrid>("TCustomGrid", &TCustomControl::StaticClassInfo()).build();
  return info;
}

TCustomGrid::TCustomGrid(TComponent* owner) : TCustomControl(owner) {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 320, 120);
}

TCustomGrid::~TCustomGrid() = default;

void TCustomGrid::CheckIndex(int index, int count) const {
  if (index < 0 || index >= count) throw EInvalidGridOperation("Grid index out of range");
}

void TCustomGrid::SetColCount(int count) {
  ChangeSize(std::max(count, 1), rows_.count);
}

void TCustomGrid::SetRowCount(int count) {
  ChangeSize(cols_.count, std::max(count, 1));
}

void TCustomGrid::ChangeSize(int colCount, int rowCount) {
  const int oldCols = cols_.count;
  const int oldRows = rows_.count;
  if (colCount == oldCols && rowCount == oldRows) return;
  cols_.Resize(colCount);
  rows_.Resize(rowCount);
  for (TGridCoord* cell : {&current_, &anchor_}) {
    cell->X = std::min(cell->X, colCount - 1);
    cell->Y = std::min(cell->Y, rowCount - 1);
  }
  SizeChanged(oldCols, oldRows);
  if (EditorShowing() && !(bound_ == current_)) LoadEditor();
}

void TCustomGrid::SizeChanged(int, int) {}

void TCustomGrid::SetFixedCols(int count) {
  if (count < 0) throw EInvalidGridOperation("Grid index out of range");
  if (count >= cols_.count)
    throw EInvalidGridOperation("Fixed column count must be less than column count");
  cols_.fixed = count;
  ResetCurrent();
}

void TCustomGrid::SetFixedRows(int count) {
  if (count < 0) throw EInvalidGridOperation("Grid index out of range");
  if (count >= rows_.count)
    throw EInvalidGridOperation("Fixed row count must be less than row count");
  rows_.fixed = count;
  ResetCurrent();
}

// The current cell, the anchor and the scrolling start over at the first scrollable cell.
void TCustomGrid::ResetCurrent() {
  current_ = anchor_ = {cols_.fixed, rows_.fixed};
  if (options_ & goRowSelect) anchor_.X = cols_.count - 1;
  cols_.first = cols_.fixed;
  rows_.first = rows_.fixed;
  if (EditorShowing()) LoadEditor();
}

void TCustomGrid::SetDefaultColWidth(int width) {
  cols_.defaultSize = std::max(width, 0);
  std::fill(cols_.sizes.begin(), cols_.sizes.end(), cols_.defaultSize);
}

void TCustomGrid::SetDefaultRowHeight(int height) {
  rows_.defaultSize = std::max(height, 0);
  std::fill(rows_.sizes.begin(), rows_.sizes.end(), rows_.defaultSize);
}

int TCustomGrid::ColWidths(int index) const {
  CheckIndex(index, cols_.count);
  return cols_.sizes[static_cast<std::size_t>(index)];
}

void TCustomGrid::SetColWidths(int index, int width) {
  CheckIndex(index, cols_.count);
  cols_.sizes[static_cast<std::size_t>(index)] = std::max(width, 0);
}

int TCustomGrid::RowHeights(int index) const {
  CheckIndex(index, rows_.count);
  return rows_.sizes[static_cast<std::size_t>(index)];
}

void TCustomGrid::SetRowHeights(int index, int height) {
  CheckIndex(index, rows_.count);
  rows_.sizes[static_cast<std::size_t>(index)] = std::max(height, 0);
}

void TCustomGrid::SetOptions(TGridOptions options) {
  if (options & goRowSelect) options &= ~goAlwaysShowEditor;
  if (options == options_) return;
  options_ = options;
  if (!editorMode_) {
    if (options & goAlwaysShowEditor)
      editorMode_ = true;
    else
      HideEdit();
  }
  if (options & goRowSelect) {
    current_.X = cols_.fixed;
    anchor_ = {cols_.count - 1, current_.Y};
  }
  UpdateEdit();
}

// ---- current cell and selection --------------------------------------------

void TCustomGrid::SetCol(int col) {
  if (col != current_.X) FocusCell(col, current_.Y, true);
}

void TCustomGrid::SetRow(int row) {
  if (row != current_.Y) FocusCell(current_.X, row, true);
}

void TCustomGrid::SetLeftCol(int col) {
  const int first = std::clamp(col, cols_.fixed, cols_.MaxFirst(ClientWidth(), gridLineWidth_));
  if (first == cols_.first) return;
  cols_.first = first;
  ScrollChanged();
}

void TCustomGrid::SetTopRow(int row) {
  const int first = std::clamp(row, rows_.fixed, rows_.MaxFirst(ClientHeight(), gridLineWidth_));
  if (first == rows_.first) return;
  rows_.first = first;
  ScrollChanged();
}

TGridRect TCustomGrid::Selection() const {
  return {std::min(anchor_.X, current_.X), std::min(anchor_.Y, current_.Y),
          std::max(anchor_.X, current_.X), std::max(anchor_.Y, current_.Y)};
}

void TCustomGrid::SetSelection(const TGridRect& selection) {
  const auto clampCol = [&](int x) { return std::clamp(x, cols_.fixed, cols_.count - 1); };
  const auto clampRow = [&](int y) { return std::clamp(y, rows_.fixed, rows_.count - 1); };
  anchor_ = {clampCol(selection.Left), clampRow(selection.Top)};
  current_ = {clampCol(selection.Right), clampRow(selection.Bottom)};
  if (!(options_ & goAlwaysShowEditor)) HideEditor();
  UpdateEdit();
}

// Makes a cell current when SelectCell allows it; the anchor follows unless the
// selection grows (goRangeSelect). False when refused.
bool TCustomGrid::MoveCurrent(int col, int row, bool moveAnchor) {
  CheckIndex(col, cols_.count);
  CheckIndex(row, rows_.count);
  if (!SelectCell(col, row)) return false;
  current_ = {col, row};
  if (!(options_ & goAlwaysShowEditor)) HideEditor();
  if (moveAnchor || !(options_ & goRangeSelect)) {
    anchor_ = current_;
    if (options_ & goRowSelect) anchor_.X = cols_.count - 1;
  }
  if (options_ & goRowSelect) current_.X = cols_.fixed;
  ScrollIntoView();
  return true;
}

void TCustomGrid::FocusCell(int col, int row, bool moveAnchor) {
  MoveCurrent(col, row, moveAnchor);
  UpdateEdit();
  Click();
}

void TCustomGrid::ScrollIntoView() {
  const bool across = cols_.ScrollTo(current_.X, ClientWidth(), gridLineWidth_);
  const bool down = rows_.ScrollTo(current_.Y, ClientHeight(), gridLineWidth_);
  if (across || down) ScrollChanged();
}

void TCustomGrid::ScrollChanged() {
  if (EditorShowing()) PlaceEditor();
  TopLeftChanged();
}

void TCustomGrid::PlaceEditor() {
  const TRect cell = CellRect(bound_.X, bound_.Y);
  editor_->SetBounds(cell.Left, cell.Top, cell.Width(), cell.Height());
}

bool TCustomGrid::SelectCell(int, int) {
  return true;
}
std::string TCustomGrid::GetEditText(int, int) {
  return {};
}
void TCustomGrid::SetEditText(int, int, const std::string&) {}
void TCustomGrid::ColumnMoved(int, int) {}
void TCustomGrid::RowMoved(int, int) {}
void TCustomGrid::TopLeftChanged() {}

// ---- geometry --------------------------------------------------------------

int TCustomGrid::VisibleColCount() const {
  return cols_.FullyShown(ClientWidth(), gridLineWidth_);
}

int TCustomGrid::VisibleRowCount() const {
  return rows_.FullyShown(ClientHeight(), gridLineWidth_);
}

TRect TCustomGrid::CellRect(int col, int row) const {
  const int left = cols_.Start(col, gridLineWidth_);
  const int top = rows_.Start(row, gridLineWidth_);
  if (left < 0 || top < 0 || left >= ClientWidth() || top >= ClientHeight()) return {};
  return {left, top, left + cols_.sizes[static_cast<std::size_t>(col)],
          top + rows_.sizes[static_cast<std::size_t>(row)]};
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const {
  if (x >= ClientWidth() || y >= ClientHeight()) return {-1, -1};
  const int col = cols_.IndexAt(x, gridLineWidth_);
  const int row = rows_.IndexAt(y, gridLineWidth_);
  return col < 0 || row < 0 ? TGridCoord{-1, -1} : TGridCoord{col, row};
}

void TCustomGrid::MouseToCell(int x, int y, int& col, int& row) const {
  const TGridCoord cell = MouseCoord(x, y);
  col = cell.X;
  row = cell.Y;
}

// ---- moving and deleting lines ---------------------------------------------

void TCustomGrid::MoveColumn(int from, int to) {
  CheckIndex(from, cols_.count);
  CheckIndex(to, cols_.count);
  if (from == to) return;
  cols_.MoveLine(from, to);
  current_.X = MovedIndex(current_.X, from, to);
  anchor_.X = MovedIndex(anchor_.X, from, to);
  ColumnMoved(from, to);
  if (EditorShowing()) LoadEditor();
}

void TCustomGrid::MoveRow(int from, int to) {
  CheckIndex(from, rows_.count);
  CheckIndex(to, rows_.count);
  if (from == to) return;
  rows_.MoveLine(from, to);
  current_.Y = MovedIndex(current_.Y, from, to);
  anchor_.Y = MovedIndex(anchor_.Y, from, to);
  RowMoved(from, to);
  if (EditorShowing()) LoadEditor();
}

void TCustomGrid::DeleteColumn(int col) {
  MoveColumn(col, cols_.count - 1);
  SetColCount(cols_.count - 1);
}

void TCustomGrid::DeleteRow(int row) {
  MoveRow(row, rows_.count - 1);
  SetRowCount(rows_.count - 1);
}

// ---- the in-place editor ---------------------------------------------------

void TCustomGrid::SetEditorMode(bool value) {
  if (!value) return HideEditor();
  ShowEditor();
  if (EditorShowing()) editor_->SetSelStart(static_cast<int>(editor_->Text().size()));
}

bool TCustomGrid::CanEditShow() const {
  if ((options_ & (goRowSelect | goEditing)) != goEditing || !editorMode_ || IsLoading())
    return false;
  if (current_.X < cols_.fixed || current_.Y < rows_.fixed) return false;
  if (options_ & goAlwaysShowEditor) return true;
  const TCustomForm* form = ParentForm();
  return form != nullptr && form->ActiveControl() != nullptr &&
         (form->ActiveControl() == this || form->ActiveControl() == editor_);
}

bool TCustomGrid::EditorShowing() const {
  return editor_ != nullptr && editor_->Visible();
}

void TCustomGrid::ShowEditor() {
  editorMode_ = true;
  UpdateEdit();
}

void TCustomGrid::HideEditor() {
  editorMode_ = false;
  HideEdit();
}

void TCustomGrid::HideEdit() {
  if (!EditorShowing()) return;
  bound_ = {-1, -1};
  if (editor_->Focused()) SetFocus();  // the grid takes the focus back
  editor_->Hide();
}

void TCustomGrid::UpdateEdit() {
  if (!CanEditShow()) return;
  if (editor_ == nullptr) editor_ = new TInplaceEdit(this);
  if (!(bound_ == current_)) LoadEditor();
  editor_->Show();
  if (Focused()) editor_->SetFocus();
}

// Puts the current cell's edit text into the editor, over the cell.
void TCustomGrid::LoadEditor() {
  bound_ = {-1, -1};  // loading is no change of the cell
  editOriginal_ = GetEditText(current_.X, current_.Y);
  editor_->SetText(editOriginal_);
  bound_ = current_;
  PlaceEditor();
}

void TCustomGrid::EditorChanged() {
  if (bound_.X < 0) return;
  editWriting_ = true;
  try {
    SetEditText(bound_.X, bound_.Y, editor_->Text());
  } catch (...) {
    editWriting_ = false;
    throw;
  }
  editWriting_ = false;
}

void TCustomGrid::CellChanged(int col, int row) {
  if (!editWriting_ && EditorShowing() && bound_ == TGridCoord{col, row}) LoadEditor();
}

// Escape: the cell gets back the text it had when the editor opened on it.
void TCustomGrid::CancelEdit() {
  if (!EditorShowing()) return;
  editor_->SetText(editOriginal_);
  if (options_ & goAlwaysShowEditor)
    editor_->SelectAll();
  else
    HideEditor();
}

// ---- keys ------------------------------------------------------------------

bool TCustomGrid::WantsKey(std::uint16_t key, TShiftState shift) const {
  return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN ||
         (key == VK_TAB && (options_ & goTabs) != 0) || TCustomControl::WantsKey(key, shift);
}

// A key the editor passes on reaches the grid as if typed on it.
void TCustomGrid::EditorKey(std::uint16_t& key, TShiftState shift) {
  KeyDown(key, shift);
  if (key != 0) DefaultKeyDown(key, shift);
}

TGridCoord TCustomGrid::TabTarget(bool backward) const {
  TGridCoord next = current_;
  if (backward) {
    if (--next.X < cols_.fixed) {
      next.X = cols_.count - 1;
      if (--next.Y < rows_.fixed) next.Y = rows_.count - 1;
    }
  } else if (++next.X >= cols_.count) {
    next.X = cols_.fixed;
    if (++next.Y >= rows_.count) next.Y = rows_.fixed;
  }
  return next;
}

// The cell a navigation key leads to (the current cell for other keys). With
// goRowSelect, Left and Right scroll instead.
TGridCoord TCustomGrid::KeyTarget(std::uint16_t key, TShiftState shift) {
  TGridCoord next = current_;
  const bool rowSelect = (options_ & goRowSelect) != 0;
  const int page = VisibleRowCount();
  if (shift & ssCtrl) {
    switch (key) {
      case VK_HOME:
        next = {cols_.fixed, rows_.fixed};
        break;
      case VK_END:
        next = {cols_.count - 1, rows_.count - 1};
        break;
      case VK_PRIOR:
        next.Y = rows_.first;
        break;
      case VK_NEXT:
        next.Y = rows_.first + page - 1;
        break;
      default:
        return current_;
    }
  } else {
    switch (key) {
      case VK_UP:
        --next.Y;
        break;
      case VK_DOWN:
        ++next.Y;
        break;
      case VK_LEFT:
        if (rowSelect) {
          SetLeftCol(cols_.first - 1);
          return current_;
        }
        --next.X;
        break;
      case VK_RIGHT:
        if (rowSelect) {
          SetLeftCol(cols_.first + 1);
          return current_;
        }
        ++next.X;
        break;
      case VK_PRIOR:
        next.Y -= page;
        break;
      case VK_NEXT:
        next.Y += page;
        break;
      case VK_HOME:
        if (rowSelect)
          next.Y = rows_.fixed;
        else
          next.X = cols_.fixed;
        break;
      case VK_END:
        if (rowSelect)
          next.Y = rows_.count - 1;
        else
          next.X = cols_.count - 1;
        break;
      case VK_TAB:
        if ((options_ & goTabs) && !(shift & ssAlt)) return TabTarget((shift & ssShift) != 0);
        return current_;
      default:
        return current_;
    }
  }
  next.X = std::clamp(next.X, cols_.fixed, cols_.count - 1);
  next.Y = std::clamp(next.Y, rows_.fixed, rows_.count - 1);
  return next;
}

void TCustomGrid::DefaultKeyDown(std::uint16_t key, TShiftState shift) {
  if (key == VK_F2) return SetEditorMode(true);
  if (key == VK_ESCAPE) return CancelEdit();
  const TGridCoord next = KeyTarget(key, shift);
  if (next == current_) return TCustomControl::DefaultKeyDown(key, shift);
  // Shift with a movement key grows the selection; Shift+Tab only goes back.
  FocusCell(next.X, next.Y, (shift & ssShift) == 0 || key == VK_TAB);
}

void TCustomGrid::KeyPress(char& key) {
  TCustomControl::KeyPress(key);
  if (key == '\r' && !(options_ & goAlwaysShowEditor)) {
    if (editorMode_) {
      HideEditor();
    } else {
      ShowEditor();
      if (EditorShowing()) editor_->SelectAll();
    }
    key = 0;
  }
}

LRESULT TCustomGrid::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const auto byte = static_cast<unsigned char>(wParam);
  // With editing on, a typed character opens the editor and goes to it, replacing
  // the cell's text.
  if (message == WM_CHAR && (options_ & goEditing) && (byte == '\b' || byte >= 0x20)) {
    const bool wasShowing = EditorShowing();
    ShowEditor();
    if (EditorShowing()) {
      if (!wasShowing) editor_->SelectAll();
      editor_->Perform(WM_CHAR, wParam, lParam);
    }
    return 0;
  }
  return TCustomControl::WindowProc(message, wParam, lParam);
}

void TCustomGrid::DoEnter() {
  TCustomControl::DoEnter();
  UpdateEdit();
}

void TCustomGrid::Loaded() {
  TCustomControl::Loaded();
  UpdateEdit();
}

// ---- mouse -----------------------------------------------------------------

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft) {
    // A press that cannot bring the focus to a shown grid does nothing more.
    const TCustomForm* form = ParentForm();
    if (TakeFocus(*this) || form == nullptr || !form->Visible()) StartDrag(shift, x, y);
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomGrid::StartDrag(TShiftState shift, int x, int y) {
  drag_ = Drag::None;
  const TGridCoord cell = MouseCoord(x, y);
  const bool inFixedRows = cell.Y >= 0 && cell.Y < rows_.fixed;
  const bool inFixedCols = cell.X >= 0 && cell.X < cols_.fixed;
  const auto start = [&](Drag drag, int index, int from, int size) {
    drag_ = drag;
    dragIndex_ = index;
    dragStart_ = from;
    dragSize_ = size;
  };
  if (inFixedRows && (options_ & goColSizing)) {
    if (const int line = cols_.BorderAt(x, gridLineWidth_); line >= 0)
      return start(Drag::ColSizing, line, x, ColWidths(line));
  }
  if (inFixedCols && (options_ & goRowSizing)) {
    if (const int line = rows_.BorderAt(y, gridLineWidth_); line >= 0)
      return start(Drag::RowSizing, line, y, RowHeights(line));
  }
  if (inFixedRows && (options_ & goColMoving) && cell.X >= cols_.fixed)
    return start(Drag::ColMoving, cell.X, x, 0);
  if (inFixedCols && (options_ & goRowMoving) && cell.Y >= rows_.fixed)
    return start(Drag::RowMoving, cell.Y, y, 0);
  if (cell.X < cols_.fixed || cell.Y < rows_.fixed) return;
  if ((shift & ssShift) && (options_ & goRangeSelect)) {
    MoveCurrent(cell.X, cell.Y, false);
  } else if ((options_ & goEditing) && cell == current_ && !EditorShowing()) {
    return SetEditorMode(true);  // a press on the current cell edits it
  } else {
    MoveCurrent(cell.X, cell.Y, true);
    UpdateEdit();
  }
  if (options_ & goRangeSelect) drag_ = Drag::Selecting;
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y) {
  switch (drag_) {
    case Drag::Selecting:
      if (const TGridCoord cell = MouseCoord(x, y);
          cell.X >= cols_.fixed && cell.Y >= rows_.fixed && !(cell == current_))
        MoveCurrent(cell.X, cell.Y, false);
      break;
    case Drag::ColSizing:
      SetColWidths(dragIndex_, dragSize_ + x - dragStart_);
      break;
    case Drag::RowSizing:
      SetRowHeights(dragIndex_, dragSize_ + y - dragStart_);
      break;
    default:
      break;
  }
  TCustomControl::MouseMove(shift, x, y);
}

void TCustomGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft) {
    const TGridCoord cell = MouseCoord(x, y);
    if (drag_ == Drag::ColMoving && cell.X >= cols_.fixed) MoveColumn(dragIndex_, cell.X);
    if (drag_ == Drag::RowMoving && cell.Y >= rows_.fixed) MoveRow(dragIndex_, cell.Y);
    drag_ = Drag::None;
  }
  TCustomControl::MouseUp(button, shift, x, y);
}

// ---- TDrawGrid -------------------------------------------------------------

const ClassInfo& TDrawGrid::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TDrawGrid>("TDrawGrid", &TCustomGrid::StaticClassInfo())
          .creatable()
          .property("ColCount", &TDrawGrid::ColCount, &TDrawGrid::SetColCount)
          .defaultValue(5)
          .property("DefaultColWidth", &TDrawGrid::DefaultColWidth, &TDrawGrid::SetDefaultColWidth)
          .defaultValue(64)
          .property("DefaultDrawing", &TDrawGrid::DefaultDrawing, &TDrawGrid::SetDefaultDrawing)
          .defaultValue(1)
          .property("DefaultRowHeight", &TDrawGrid::DefaultRowHeight,
                    &TDrawGrid::SetDefaultRowHeight)
          .defaultValue(24)
          .integer("FixedColor", &TDrawGrid::FixedColor, &TDrawGrid::SetFixedColor, ColorIdents())
          .property("FixedCols", &TDrawGrid::FixedCols, &TDrawGrid::SetFixedCols)
          .defaultValue(1)
          .property("RowCount", &TDrawGrid::RowCount, &TDrawGrid::SetRowCount)
          .defaultValue(5)
          .property("FixedRows", &TDrawGrid::FixedRows, &TDrawGrid::SetFixedRows)
          .defaultValue(1)
          .property("GridLineWidth", &TDrawGrid::GridLineWidth, &TDrawGrid::SetGridLineWidth)
          .defaultValue(1)
          .set("Options", &TDrawGrid::Options, &TDrawGrid::SetOptions, GridOptionNames())
          .defaultValue(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect)
          .event("OnColumnMoved", &TDrawGrid::OnColumnMoved)
          .event("OnDrawCell", &TDrawGrid::OnDrawCell)
          .event("OnGetEditText", &TDrawGrid::OnGetEditText)
          .event("OnRowMoved", &TDrawGrid::OnRowMoved)
          .event("OnSelectCell", &TDrawGrid::OnSelectCell)
          .event("OnSetEditText", &TDrawGrid::OnSetEditText)
          .event("OnTopLeftChanged", &TDrawGrid::OnTopLeftChanged)
          .build();
  return info;
}

bool TDrawGrid::SelectCell(int col, int row) {
  bool canSelect = true;
  OnSelectCell(this, col, row, canSelect);
  return canSelect;
}

std::string TDrawGrid::GetEditText(int col, int row) {
  std::string value;
  OnGetEditText(this, col, row, value);
  return value;
}

void TDrawGrid::SetEditText(int col, int row, const std::string& value) {
  OnSetEditText(this, col, row, value);
}

void TDrawGrid::ColumnMoved(int from, int to) {
  OnColumnMoved(this, from, to);
}

void TDrawGrid::RowMoved(int from, int to) {
  OnRowMoved(this, from, to);
}

void TDrawGrid::TopLeftChanged() {
  OnTopLeftChanged(this);
}

// ---- TStringGridStrings ----------------------------------------------------

const ClassInfo& TStringGridStrings::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TStringGridStrings>("TStringGridStrings", &TStrings::StaticClassInfo()).build();
  return info;
}

TStringGridStrings::TStringGridStrings(TStringGrid* grid, bool isRow, int index)
    : grid_(grid), isRow_(isRow), index_(index) {
  OnChange = MakeMethod<&TStringGridStrings::Store>(this);
  Reload();
}

void TStringGridStrings::Reload() {
  const int count = isRow_ ? grid_->ColCount() : grid_->RowCount();
  items_.assign(static_cast<std::size_t>(count), Item{});
  for (int i = 0; i < count; ++i) {
    const int col = isRow_ ? i : index_;
    const int row = isRow_ ? index_ : i;
    items_[static_cast<std::size_t>(i)] = {grid_->Cells(col, row), grid_->Objects(col, row)};
  }
}

// Writes the lines back to the cells; a line list grown or shrunk by Assign or Text
// keeps its length.
void TStringGridStrings::Store(TObject*) {
  const int count = isRow_ ? grid_->ColCount() : grid_->RowCount();
  std::vector<Item> wanted = items_;
  wanted.resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const int col = isRow_ ? i : index_;
    const int row = isRow_ ? index_ : i;
    const Item& item = wanted[static_cast<std::size_t>(i)];
    grid_->SetCells(col, row, item.text);
    grid_->SetObjects(col, row, item.object);
  }
  Reload();
}

int TStringGridStrings::Add(std::string text) {
  for (int i = 0; i < Count(); ++i) {
    if (Strings(i).empty()) {
      // An empty text takes the cell too, as a blank, so the next Add goes on.
      SetStrings(i, text.empty() ? std::string(" ") : std::move(text));
      return i;
    }
  }
  return -1;
}

void TStringGridStrings::Insert(int, std::string) {
  throw EInvalidGridOperation("Cannot insert or delete rows from grid");
}

void TStringGridStrings::Delete(int) {
  throw EInvalidGridOperation("Cannot insert or delete rows from grid");
}

void TStringGridStrings::Clear() {
  for (Item& item : items_)
    item = Item{};
  Changed();
}

// ---- TStringGrid -----------------------------------------------------------

const ClassInfo& TStringGrid::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TStringGrid>("TStringGrid", &TDrawGrid::StaticClassInfo()).creatable().build();
  return info;
}

TStringGrid::TStringGrid(TComponent* owner) : TDrawGrid(owner) {}

TStringGrid::~TStringGrid() = default;

const std::string& TStringGrid::Cells(int col, int row) const {
  static const std::string empty;
  const auto cell = cells_.find({row, col});
  return cell != cells_.end() ? cell->second.text : empty;
}

TObject* TStringGrid::Objects(int col, int row) const {
  const auto cell = cells_.find({row, col});
  return cell != cells_.end() ? cell->second.object : nullptr;
}

void TStringGrid::PutCell(int col, int row, Cell cell) {
  if (cell.text.empty() && cell.object == nullptr)
    cells_.erase({row, col});
  else
    cells_[{row, col}] = std::move(cell);
  ReloadLine(true, row);
  ReloadLine(false, col);
}

void TStringGrid::SetCells(int col, int row, const std::string& text) {
  if (col < 0 || row < 0 || Cells(col, row) == text) return;
  PutCell(col, row, {text, Objects(col, row)});
  CellChanged(col, row);
}

void TStringGrid::SetObjects(int col, int row, TObject* object) {
  if (col < 0 || row < 0 || Objects(col, row) == object) return;
  PutCell(col, row, {Cells(col, row), object});
}

TStrings* TStringGrid::Cols(int col) {
  return Line(false, col);
}

TStrings* TStringGrid::Rows(int row) {
  return Line(true, row);
}

TStringGridStrings* TStringGrid::Line(bool isRow, int index) {
  if (index < 0) throw EInvalidGridOperation("Grid index out of range");
  auto& lines = isRow ? rowLines_ : colLines_;
  auto& line = lines[index];
  if (line == nullptr) line = std::make_unique<TStringGridStrings>(this, isRow, index);
  return line.get();
}

void TStringGrid::ReloadLine(bool isRow, int index) {
  const auto& lines = isRow ? rowLines_ : colLines_;
  if (const auto line = lines.find(index); line != lines.end()) line->second->Reload();
}

void TStringGrid::ReloadLines() {
  for (const auto* lines : {&rowLines_, &colLines_})
    for (const auto& line : *lines)
      line.second->Reload();
}

// Moves the cells of a column (or row) with the line, for every row (or column).
void TStringGrid::MoveCells(bool columns, int from, int to) {
  std::map<Key, Cell> moved;
  for (auto& [key, cell] : cells_) {
    const Key place = columns ? Key{key.first, MovedIndex(key.second, from, to)}
                              : Key{MovedIndex(key.first, from, to), key.second};
    moved.emplace(place, std::move(cell));
  }
  cells_ = std::move(moved);
  ReloadLines();
}

std::string TStringGrid::GetEditText(int col, int row) {
  std::string value = Cells(col, row);
  OnGetEditText(this, col, row, value);
  return value;
}

void TStringGrid::SetEditText(int col, int row, const std::string& value) {
  SetCells(col, row, value);
  TDrawGrid::SetEditText(col, row, value);
}

void TStringGrid::ColumnMoved(int from, int to) {
  MoveCells(true, from, to);
  TDrawGrid::ColumnMoved(from, to);
}

void TStringGrid::RowMoved(int from, int to) {
  MoveCells(false, from, to);
  TDrawGrid::RowMoved(from, to);
}

void TStringGrid::SizeChanged(int, int) {
  ReloadLines();
}

}  // namespace ox
