// Grids: the draw-grid family. TCustomGrid lays out columns and rows (fixed ones at the
// top and left, the others scrolled by LeftCol and TopRow), keeps the current cell and
// the selection, moves them by mouse and keys, sizes and moves lines by dragging their
// fixed cells, and edits cells in place; TDrawGrid publishes it with its events;
// TStringGrid holds a text and an object per cell.
//
// Keys: arrows, Page Up/Down, Home/End (with Ctrl: the corners) move the current cell
// (Shift extends the selection with goRangeSelect); Tab and Shift+Tab move along the
// rows with goTabs. With goEditing a typed character opens the in-place editor on the
// current cell with that character replacing the text, F2 opens it with the caret at
// the end, Enter opens and closes it (unless goAlwaysShowEditor), Escape puts the text
// back. Every change in the editor goes to the cell at once (SetEditText).
//
// Layout, in client coordinates: each line is its width (or height) plus GridLineWidth;
// the fixed lines come first, then the scrollable ones from LeftCol / TopRow.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/Classes.h"
#include "ui/Controls.h"
#include "ui/Edit.h"

namespace ox {

// An index outside the grid, a fixed line count that leaves no scrollable line, or a
// line list of a string grid asked to insert or delete.
class EInvalidGridOperation : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EInvalidGridOperation"; }
};

// Options bits, in the framework's order.
enum TGridOption : int {
  goFixedVertLine = 1 << 0,
  goFixedHorzLine = 1 << 1,
  goVertLine = 1 << 2,
  goHorzLine = 1 << 3,
  goRangeSelect = 1 << 4,
  goDrawFocusSelected = 1 << 5,
  goRowSizing = 1 << 6,
  goColSizing = 1 << 7,
  goRowMoving = 1 << 8,
  goColMoving = 1 << 9,
  goEditing = 1 << 10,
  goTabs = 1 << 11,
  goRowSelect = 1 << 12,
  goAlwaysShowEditor = 1 << 13,
  goThumbTracking = 1 << 14,
};
using TGridOptions = int;
const std::vector<std::string>& GridOptionNames();

// The state bits OnDrawCell is given.
enum TGridDrawStateFlag : int { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGridDrawState = int;

struct TGridCoord {
  int X = 0, Y = 0;
  bool operator==(const TGridCoord&) const = default;
};

struct TGridRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TGridRect&) const = default;
};

using TSelectCellEvent = Event<TObject*, int, int, bool&>;
using TDrawCellEvent = Event<TObject*, int, int, TRect, TGridDrawState>;
using TGetEditEvent = Event<TObject*, int, int, std::string&>;
using TSetEditEvent = Event<TObject*, int, int, const std::string&>;
using TMovedEvent = Event<TObject*, int, int>;

class TCustomGrid;

// The editor a grid shows over its current cell: a child of the grid, focused while
// the grid has the focus. Up, Down, Page Up/Down, Escape, Tab and Insert go to the
// grid; with goAlwaysShowEditor so do Left/Home at the start of the text, Right/End at
// its end, and any of them with Ctrl. The grid's OnKeyDown sees every key first.
class TInplaceEdit : public TCustomEdit {
 public:
  OX_CLASS_INFO()
  explicit TInplaceEdit(TCustomGrid* grid);
  TCustomGrid* Grid() const { return grid_; }

  bool WantsKey(std::uint16_t key, TShiftState shift) const override;
  void KeyDown(std::uint16_t& key, TShiftState shift) override;
  // The grid's key press first (Enter may close the editor); Enter toggles between the
  // whole text selected and the caret at its end.
  void KeyPress(char& key) override;

 protected:
  void Change() override;

 private:
  bool ForGrid(std::uint16_t key, TShiftState shift) const;

  TCustomGrid* grid_;
};

class TCustomGrid : public TCustomControl {
 public:
  OX_CLASS_INFO()
  explicit TCustomGrid(TComponent* owner);
  ~TCustomGrid() override;

  int ColCount() const { return cols_.count; }
  // At least 1; fewer columns than fixed ones reduce the fixed ones.
  void SetColCount(int count);
  int RowCount() const { return rows_.count; }
  void SetRowCount(int count);
  int FixedCols() const { return cols_.fixed; }
  // Raises EInvalidGridOperation unless below ColCount; the current cell goes to the
  // first scrollable cell.
  void SetFixedCols(int count);
  int FixedRows() const { return rows_.fixed; }
  void SetFixedRows(int count);
  int DefaultColWidth() const { return cols_.defaultSize; }
  // Gives every column this width.
  void SetDefaultColWidth(int width);
  int DefaultRowHeight() const { return rows_.defaultSize; }
  void SetDefaultRowHeight(int height);
  // Raise EInvalidGridOperation for an index outside the grid.
  int ColWidths(int index) const;
  void SetColWidths(int index, int width);
  int RowHeights(int index) const;
  void SetRowHeights(int index, int height);
  int GridLineWidth() const { return gridLineWidth_; }
  void SetGridLineWidth(int width) { gridLineWidth_ = std::max(width, 0); }
  TColor FixedColor() const { return fixedColor_; }
  void SetFixedColor(TColor color) { fixedColor_ = color; }
  bool DefaultDrawing() const { return defaultDrawing_; }
  void SetDefaultDrawing(bool value) { defaultDrawing_ = value; }
  TGridOptions Options() const { return options_; }
  // goRowSelect drops goAlwaysShowEditor; goAlwaysShowEditor puts the grid in editor
  // mode.
  void SetOptions(TGridOptions options);

  // The current cell. Setting it asks SelectCell (OnSelectCell), moves the selection
  // there, scrolls it into view and fires OnClick; raises EInvalidGridOperation outside
  // the grid.
  int Col() const { return current_.X; }
  void SetCol(int col);
  int Row() const { return current_.Y; }
  void SetRow(int row);
  // The first scrollable column and row shown.
  int LeftCol() const { return cols_.first; }
  void SetLeftCol(int col);
  int TopRow() const { return rows_.first; }
  void SetTopRow(int row);
  // The selected cells; with goRowSelect whole rows.
  TGridRect Selection() const;
  void SetSelection(const TGridRect& selection);
  // Whether cells are edited in place (the editor shows while the grid is active).
  bool EditorMode() const { return editorMode_; }
  void SetEditorMode(bool value);
  // The in-place editor, once it was first needed.
  TInplaceEdit* InplaceEditor() const { return editor_; }
  // The scrollable columns and rows wholly shown (at least 1).
  int VisibleColCount() const;
  int VisibleRowCount() const;
  // A cell's rectangle in client coordinates; empty when it is scrolled away.
  TRect CellRect(int col, int row) const;
  // The cell at a point of the client area; -1 for a coordinate outside the cells.
  TGridCoord MouseCoord(int x, int y) const;
  void MouseToCell(int x, int y, int& col, int& row) const;

  // Moving and deleting lines (the current cell follows its line); they raise
  // EInvalidGridOperation for an index outside the grid.
  void MoveColumn(int from, int to);
  void MoveRow(int from, int to);
  void DeleteColumn(int col);
  void DeleteRow(int row);

  bool WantsKey(std::uint16_t key, TShiftState shift) const override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void KeyPress(char& key) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  // The editor shows (and takes the focus) when the grid gets the focus in editor mode.
  void DoEnter() override;
  void Loaded() override;

 protected:
  // Whether the cell may become current (TDrawGrid asks OnSelectCell).
  virtual bool SelectCell(int col, int row);
  // The text the editor starts with, and where its changes go.
  virtual std::string GetEditText(int col, int row);
  virtual void SetEditText(int col, int row, const std::string& value);
  virtual void ColumnMoved(int from, int to);
  virtual void RowMoved(int from, int to);
  virtual void TopLeftChanged();
  // The column or row count changed.
  virtual void SizeChanged(int oldColCount, int oldRowCount);
  // The editor's text follows the cell after the cell changed by code.
  void CellChanged(int col, int row);
  void DefaultKeyDown(std::uint16_t key, TShiftState shift) override;

 private:
  friend class TInplaceEdit;

  // One direction of the grid: the columns (across) or the rows (down).
  struct Axis {
    int count = 5;
    int fixed = 1;
    int first = 1;  // the first scrollable line shown
    int defaultSize;
    std::vector<int> sizes;

    explicit Axis(int size) : defaultSize(size), sizes(5, size) {}
    // The shown lines in order: the fixed ones, then the scrollable ones from `first`.
    int FirstShown() const { return fixed > 0 ? 0 : first; }
    int NextShown(int index) const { return index + 1 == fixed ? first : index + 1; }
    int Start(int index, int lineWidth) const;
    int IndexAt(int pos, int lineWidth) const;
    int BorderAt(int pos, int lineWidth) const;
    int FullyShown(int extent, int lineWidth) const;
    bool ScrollTo(int index, int extent, int lineWidth);
    int MaxFirst(int extent, int lineWidth) const;
    void Resize(int count);
    void MoveLine(int from, int to);
  };

  enum class Drag { None, Selecting, ColSizing, RowSizing, ColMoving, RowMoving };

  void CheckIndex(int index, int count) const;
  void ChangeSize(int colCount, int rowCount);
  void ResetCurrent();
  bool MoveCurrent(int col, int row, bool moveAnchor);
  void FocusCell(int col, int row, bool moveAnchor);
  void ScrollIntoView();
  void ScrollChanged();
  bool CanEditShow() const;
  bool EditorShowing() const;
  void ShowEditor();
  void HideEditor();
  void HideEdit();
  void UpdateEdit();
  void LoadEditor();
  void PlaceEditor();
  void CancelEdit();
  void EditorChanged();
  void EditorKey(std::uint16_t& key, TShiftState shift);
  TGridCoord KeyTarget(std::uint16_t key, TShiftState shift);
  TGridCoord TabTarget(bool backward) const;
  void StartDrag(TShiftState shift, int x, int y);

  Axis cols_{64};
  Axis rows_{24};
  TGridCoord current_{1, 1};
  TGridCoord anchor_{1, 1};
  TGridOptions options_ =
      goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
  int gridLineWidth_ = 1;
  TColor fixedColor_ = clBtnFace;
  bool defaultDrawing_ = true;
  bool editorMode_ = false;
  TInplaceEdit* editor_ = nullptr;  // owned by the grid as a component
  TGridCoord bound_{-1, -1};        // the cell the editor edits; -1 while loading
  std::string editOriginal_;        // the cell's text when the editor opened on it
  bool editWriting_ = false;        // the editor's text is going to its cell
  Drag drag_ = Drag::None;
  int dragIndex_ = -1;
  int dragStart_ = 0;
  int dragSize_ = 0;
};

// The grid as form resources describe it, with its events. OnDrawCell is kept for
// the resources: the headless model paints no cells.
class TDrawGrid : public TCustomGrid {
 public:
  OX_CLASS_INFO()
  explicit TDrawGrid(TComponent* owner) : TCustomGrid(owner) {}

  TSelectCellEvent OnSelectCell;
  TDrawCellEvent OnDrawCell;
  TGetEditEvent OnGetEditText;
  TSetEditEvent OnSetEditText;
  TMovedEvent OnColumnMoved;
  TMovedEvent OnRowMoved;
  TNotifyEvent OnTopLeftChanged;

 protected:
  bool SelectCell(int col, int row) override;
  std::string GetEditText(int col, int row) override;
  void SetEditText(int col, int row, const std::string& value) override;
  void ColumnMoved(int from, int to) override;
  void RowMoved(int from, int to) override;
  void TopLeftChanged() override;
};

class TStringGrid;

// A row or a column of a string grid as a string list of ColCount (RowCount) lines:
// reading and writing its lines and objects reads and writes the cells. Add fills the
// first empty cell; Clear empties the cells; Insert and Delete raise
// EInvalidGridOperation.
class TStringGridStrings : public TStrings {
 public:
  OX_CLASS_INFO()
  TStringGridStrings(TStringGrid* grid, bool isRow, int index);
  int Add(std::string text) override;
  void Insert(int index, std::string text) override;
  void Delete(int index) override;
  void Clear() override;

 private:
  friend class TStringGrid;
  // Takes the cells' texts and objects, without change notifications.
  void Reload();
  void Store(TObject* sender);

  TStringGrid* grid_;
  bool isRow_;
  int index_;
};

// A grid of texts, each cell with an optional object. Cells keep their contents when
// the grid shrinks, so they show again when it grows (clear them when that is not
// wanted); a deleted row or column moves to the end first, as the framework does.
class TStringGrid : public TDrawGrid {
 public:
  OX_CLASS_INFO()
  explicit TStringGrid(TComponent* owner);
  ~TStringGrid() override;

  // A cell outside the grid reads empty; writing one at a negative index does nothing.
  const std::string& Cells(int col, int row) const;
  void SetCells(int col, int row, const std::string& text);
  TObject* Objects(int col, int row) const;
  void SetObjects(int col, int row, TObject* object);
  // The cells of a column or row as a string list, live; raise EInvalidGridOperation
  // for a negative index.
  TStrings* Cols(int col);
  TStrings* Rows(int row);
  void SetCols(int col, const TStrings& lines) { Cols(col)->Assign(lines); }
  void SetRows(int row, const TStrings& lines) { Rows(row)->Assign(lines); }

 protected:
  std::string GetEditText(int col, int row) override;
  void SetEditText(int col, int row, const std::string& value) override;
  void ColumnMoved(int from, int to) override;
  void RowMoved(int from, int to) override;
  void SizeChanged(int oldColCount, int oldRowCount) override;

 private:
  friend class TStringGridStrings;
  struct Cell {
    std::string text;
    TObject* object = nullptr;
  };
  using Key = std::pair<int, int>;  // (row, col)

  void PutCell(int col, int row, Cell cell);
  TStringGridStrings* Line(bool isRow, int index);
  void ReloadLine(bool isRow, int index);
  void ReloadLines();
  void MoveCells(bool columns, int from, int to);

  std::map<Key, Cell> cells_;
  std::map<int, std::unique_ptr<TStringGridStrings>> rowLines_;
  std::map<int, std::unique_ptr<TStringGridStrings>> colLines_;
};

}  // namespace ox
