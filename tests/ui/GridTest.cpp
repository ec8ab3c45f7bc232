#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "tests/support/TestMachine.h"
#include "tests/ui/ControlInput.h"
#include "ui/FormReader.h"
#include "ui/FormWriter.h"
#include "ui/Forms.h"
#include "ui/Grid.h"

namespace ox {
namespace {

using test::Press;
using test::Type;

struct Recorder {
  std::string log;
  int clicks = 0;
  TGridCoord refuse{-1, -1};  // OnSelectCell refuses this cell
  bool appendRows = false;    // Down on the last row appends a row first

  void SelectCell(TObject*, int col, int row, bool& can) {
    can = !(refuse == TGridCoord{col, row});
  }
  void SetEditText(TObject*, int col, int row, const std::string& value) {
    log += "set:" + std::to_string(col) + "," + std::to_string(row) + "=" + value + " ";
  }
  void Click(TObject*) { ++clicks; }
  void KeyDown(TObject* sender, std::uint16_t& key, TShiftState) {
    log += "key:" + std::to_string(key) + " ";
    auto* grid = static_cast<TStringGrid*>(sender);
    if (appendRows && key == VK_DOWN && grid->Row() == grid->RowCount() - 1)
      grid->SetRowCount(grid->RowCount() + 1);
  }
  void Moved(TObject*, int from, int to) {
    log += "moved:" + std::to_string(from) + ">" + std::to_string(to) + " ";
  }
};

// A shown form with a focused 5 x 5 string grid (one fixed row and column, columns
// 64 and rows 24 pixels, lines of 1) and a box after it in the tab order.
class GridTest : public ::testing::Test {
 protected:
  GridTest() {
    form->SetBounds(0, 0, 500, 400);
    grid = new TStringGrid(form.get());
    grid->SetParent(form.get());
    grid->SetBounds(0, 0, 330, 130);
    next = new TWinControl(form.get());
    next->SetParent(form.get());
    next->SetBounds(0, 200, 100, 20);
    next->SetTabStop(true);
    grid->OnSelectCell = MakeMethod<&Recorder::SelectCell>(&rec);
    grid->OnSetEditText = MakeMethod<&Recorder::SetEditText>(&rec);
    grid->OnClick = MakeMethod<&Recorder::Click>(&rec);
    form->Show();
    grid->SetFocus();
  }

  TGridCoord Current() const { return {grid->Col(), grid->Row()}; }
  // A click in the middle of a cell.
  void ClickCell(int col, int row, TShiftState shift = 0) const {
    const TRect cell = grid->CellRect(col, row);
    test::ClickAt(*grid, cell.Left + cell.Width() / 2, cell.Top + cell.Height() / 2, shift);
  }
  void Mouse(UINT message, int x, int y) const {
    SendMessage(grid->Handle(), message, 0, MAKELPARAM(x, y));
  }
  bool Editing() const {
    return grid->InplaceEditor() != nullptr && grid->InplaceEditor()->Visible();
  }

  test::TestMachine machine{936};
  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TStringGrid* grid = nullptr;
  TWinControl* next = nullptr;
  Recorder rec;
};

TEST_F(GridTest, KeysMoveTheCurrentCellInsideTheScrollableCells) {
  struct Step {
    const char* what;
    std::function<void()> keys;
    TGridCoord current;
    int clicks;  // OnClick fires once per move
  };
  const std::vector<Step> steps{
      {"Right", [] { Press(VK_RIGHT); }, {2, 1}, 1},
      {"Down", [] { Press(VK_DOWN); }, {2, 2}, 1},
      {"End", [] { Press(VK_END); }, {4, 2}, 1},
      {"Home", [] { Press(VK_HOME); }, {1, 2}, 1},
      {"Ctrl+End", [] { Press(VK_END, ssCtrl); }, {4, 4}, 1},
      {"Ctrl+Home", [] { Press(VK_HOME, ssCtrl); }, {1, 1}, 1},
      {"Up stops at the fixed row", [] { Press(VK_UP); }, {1, 1}, 0},
      {"Left stops at the fixed column", [] { Press(VK_LEFT); }, {1, 1}, 0},
      {"Page Down", [] { Press(VK_NEXT); }, {1, 4}, 1},
      {"a refused cell stays unvisited", [] { Press(VK_RIGHT); }, {1, 4}, 1},
  };
  rec.refuse = {2, 4};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    rec.clicks = 0;
    step.keys();
    EXPECT_EQ(Current(), step.current);
    EXPECT_EQ(rec.clicks, step.clicks);
  }
  EXPECT_EQ(form->ActiveControl(), grid);

  // Shift grows the selection from the anchor.
  rec.refuse = {-1, -1};
  grid->SetRow(1);
  Press(VK_RIGHT, ssShift);
  Press(VK_DOWN, ssShift);
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 2, 2}));
  Press(VK_DOWN);
  EXPECT_EQ(grid->Selection(), (TGridRect{2, 3, 2, 3}));
}

TEST_F(GridTest, TabMovesAlongTheRowsOnlyWithGoTabs) {
  Press(VK_TAB);
  EXPECT_EQ(form->ActiveControl(), next) << "without goTabs Tab leaves the grid";
  grid->SetFocus();
  grid->SetOptions(grid->Options() | goTabs);
  grid->SetCol(4);
  Press(VK_TAB);
  EXPECT_EQ(Current(), (TGridCoord{1, 2})) << "past the last column: the next row";
  Press(VK_TAB, ssShift);
  EXPECT_EQ(Current(), (TGridCoord{4, 1}));
  EXPECT_EQ(grid->Selection(), (TGridRect{4, 1, 4, 1})) << "Shift+Tab selects no range";
  grid->SetRow(4);
  Press(VK_TAB);
  EXPECT_EQ(Current(), (TGridCoord{1, 1})) << "past the last cell: the first";
}

TEST_F(GridTest, RowSelectSelectsWholeRowsAndScrollsSideways) {
  grid->SetColCount(8);  // wider than the grid: it can scroll sideways
  grid->SetOptions(grid->Options() | goRowSelect);
  Press(VK_DOWN);
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 2, 7, 2}));
  Press(VK_RIGHT);
  EXPECT_EQ(grid->LeftCol(), 2);
  EXPECT_EQ(grid->Row(), 2);
  Press(VK_END);
  EXPECT_EQ(grid->Row(), 4);
  Press(VK_HOME);
  EXPECT_EQ(grid->Row(), 1);
}

TEST_F(GridTest, TypingEditsTheCurrentCellInPlace) {
  grid->SetOptions(grid->Options() | goEditing);
  grid->SetCells(1, 1, "old");
  Type("ab");
  ASSERT_TRUE(Editing());
  EXPECT_EQ(grid->InplaceEditor()->Parent(), grid);
  EXPECT_EQ(form->ActiveControl(), grid->InplaceEditor());
  EXPECT_EQ(grid->Cells(1, 1), "ab") << "the typed character replaces the text";
  EXPECT_EQ(rec.log, "set:1,1=a set:1,1=ab ") << "every change goes to the cell";

  struct Step {
    const char* what;
    std::function<void()> keys;
    std::string cell;
    bool editing;
  };
  const std::vector<Step> steps{
      {"Enter closes the editor", [] { Press(VK_RETURN); }, "ab", false},
      {"F2 edits with the caret at the end",
       [] {
         Press(VK_F2);
         Type("c");
       },
       "abc", true},
      {"Escape puts the text back", [] { Press(VK_ESCAPE); }, "ab", false},
      {"Enter opens with the text selected",
       [] {
         Press(VK_RETURN);
         Type("z");
       },
       "z", true},
      {"Backspace empties it", [] { Press(VK_BACK); }, "", true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.keys();
    EXPECT_EQ(grid->Cells(1, 1), step.cell);
    EXPECT_EQ(Editing(), step.editing);
    EXPECT_EQ(form->ActiveControl(),
              step.editing ? static_cast<TWinControl*>(grid->InplaceEditor()) : grid);
  }

  // Moving on closes the editor; a double-byte character opens it on the new cell.
  Press(VK_DOWN);
  EXPECT_FALSE(Editing());
  EXPECT_EQ(Current(), (TGridCoord{1, 2}));
  Type(Gb("中"));
  EXPECT_EQ(grid->Cells(1, 2), Gb("中"));

  // Without goEditing typing changes nothing.
  Press(VK_RETURN);
  grid->SetOptions(grid->Options() & ~goEditing);
  Type("q");
  EXPECT_FALSE(Editing());
  EXPECT_EQ(grid->Cells(1, 2), Gb("中"));
}

TEST_F(GridTest, AnAlwaysShownEditorFollowsTheCurrentCell) {
  grid->OnKeyDown = MakeMethod<&Recorder::KeyDown>(&rec);
  rec.appendRows = true;
  grid->SetOptions(grid->Options() | goEditing | goAlwaysShowEditor);
  ASSERT_TRUE(Editing());
  TInplaceEdit* editor = grid->InplaceEditor();
  EXPECT_EQ(form->ActiveControl(), editor);
  grid->SetCells(1, 1, "one");  // a cell changed by code shows in the editor
  grid->SetCells(1, 2, "two");
  EXPECT_EQ(editor->Text(), "one");

  rec.log.clear();
  Press(VK_DOWN);
  EXPECT_EQ(Current(), (TGridCoord{1, 2}));
  EXPECT_EQ(editor->Text(), "two");
  EXPECT_EQ(rec.log, "key:40 ") << "the grid's OnKeyDown sees the editor's keys";

  // Down on the last row: the handler appends a row, and the cell moves to it.
  grid->SetRow(4);
  Press(VK_DOWN);
  EXPECT_EQ(grid->RowCount(), 6);
  EXPECT_EQ(Current(), (TGridCoord{1, 5}));

  // Left and Right leave the cell only from the ends of the text.
  Press(VK_RIGHT);
  EXPECT_EQ(Current(), (TGridCoord{2, 5})) << "an empty text ends at once";
  grid->SetCells(2, 5, "abc");
  Press(VK_END);
  Press(VK_LEFT);
  EXPECT_EQ(Current(), (TGridCoord{2, 5}));
  EXPECT_EQ(editor->SelStart(), 2);
  Press(VK_HOME);
  Press(VK_LEFT);
  EXPECT_EQ(Current(), (TGridCoord{1, 5}));

  // Enter keeps the editor and toggles the selection of its text.
  grid->SetCells(1, 5, "xyz");
  Press(VK_RETURN);
  EXPECT_TRUE(Editing());
  EXPECT_EQ(editor->SelLength(), 3);
  Press(VK_RETURN);
  EXPECT_EQ(editor->SelLength(), 0);
  EXPECT_EQ(editor->SelStart(), 3);
}

TEST_F(GridTest, RowsAndColumnsAreLiveStringLists) {
  TStrings* row = grid->Rows(1);
  grid->SetCells(1, 1, "a");
  EXPECT_EQ(row->Count(), 5);
  EXPECT_EQ(row->Strings(1), "a");
  row->SetStrings(0, "h");
  EXPECT_EQ(grid->Cells(0, 1), "h");
  EXPECT_EQ(row->Add("n"), 2) << "Add fills the first empty cell";
  EXPECT_EQ(row->Add(""), 3);
  EXPECT_EQ(grid->Cells(3, 1), " ");
  EXPECT_EQ(row->Add("x"), 4);
  EXPECT_EQ(row->Add("y"), -1) << "no empty cell left";
  EXPECT_THROW(row->Insert(0, "q"), EInvalidGridOperation);
  EXPECT_THROW(row->Delete(0), EInvalidGridOperation);

  grid->Cols(1)->SetText("c0\r\nc1\r\n");
  EXPECT_EQ(grid->Cells(1, 0), "c0");
  EXPECT_EQ(row->Strings(1), "c1");
  EXPECT_EQ(grid->Cells(1, 2), "");

  TStringList seven;
  seven.SetCommaText("0,1,2,3,4,5,6");
  grid->SetRows(3, seven);
  EXPECT_EQ(grid->Rows(3)->CommaText(), "0,1,2,3,4");
  EXPECT_EQ(grid->Cells(5, 3), "") << "lines beyond the columns are dropped";

  TStringList owner;
  grid->Rows(2)->SetObjects(3, &owner);
  EXPECT_EQ(grid->Objects(3, 2), &owner);
  grid->Rows(1)->Clear();
  EXPECT_EQ(grid->Rows(1)->CommaText(), "\"\",\"\",\"\",\"\",\"\"");
  EXPECT_THROW(grid->Rows(-1), EInvalidGridOperation);
}

TEST_F(GridTest, CellsOutliveShrinkingAndFollowMovedLines) {
  grid->SetCells(1, 4, "x");
  grid->SetRowCount(3);
  EXPECT_EQ(grid->Cols(1)->Count(), 3);
  grid->SetRowCount(5);
  EXPECT_EQ(grid->Cols(1)->Strings(4), "x") << "the cell shows again";

  for (int r = 1; r <= 4; ++r)
    grid->SetCells(1, r, "r" + std::to_string(r));
  grid->OnRowMoved = MakeMethod<&Recorder::Moved>(&rec);
  grid->OnColumnMoved = MakeMethod<&Recorder::Moved>(&rec);
  grid->SetRow(2);
  grid->DeleteRow(2);
  EXPECT_EQ(grid->RowCount(), 4);
  EXPECT_EQ(grid->Cols(1)->CommaText(), "\"\",r1,r3,r4");
  EXPECT_EQ(grid->Cells(1, 4), "r2") << "the deleted row went to the end first";
  EXPECT_EQ(grid->Row(), 3) << "the current row went with it";

  grid->SetColWidths(1, 40);
  grid->MoveColumn(1, 3);
  EXPECT_EQ(grid->ColWidths(3), 40);
  EXPECT_EQ(grid->Cells(3, 1), "r1");
  EXPECT_EQ(grid->Cells(1, 1), "");
  EXPECT_EQ(rec.log, "moved:2>4 moved:1>3 ");
}

TEST_F(GridTest, CountsAndIndexesAreChecked) {
  EXPECT_THROW(grid->SetFixedCols(5), EInvalidGridOperation);
  EXPECT_THROW(grid->SetFixedRows(-1), EInvalidGridOperation);
  EXPECT_THROW(grid->SetCol(5), EInvalidGridOperation);
  EXPECT_THROW(grid->ColWidths(5), EInvalidGridOperation);
  EXPECT_EQ(grid->Cells(9, 9), "") << "cells outside read empty";
  grid->SetCells(-1, 0, "ignored");

  grid->SetRow(3);
  grid->SetFixedRows(2);
  EXPECT_EQ(Current(), (TGridCoord{1, 2})) << "new fixed lines start the current cell over";
  grid->SetColCount(0);
  EXPECT_EQ(grid->ColCount(), 1);
  EXPECT_EQ(grid->FixedCols(), 0) << "fixed columns give way";
  EXPECT_EQ(grid->Col(), 0);
}

TEST_F(GridTest, TheMouseSelectsSizesAndMoves) {
  ClickCell(3, 2);
  EXPECT_EQ(Current(), (TGridCoord{3, 2}));
  EXPECT_EQ(rec.clicks, 1);
  ClickCell(0, 0);
  EXPECT_EQ(Current(), (TGridCoord{3, 2})) << "fixed cells are no cells to select";
  EXPECT_EQ(grid->MouseCoord(400, 10), (TGridCoord{-1, -1}));

  ClickCell(4, 3, ssShift);
  EXPECT_EQ(grid->Selection(), (TGridRect{3, 2, 4, 3}));

  // Dragging a column's edge in the fixed row sizes it; dragging its fixed cell moves it.
  grid->SetOptions(grid->Options() | goColSizing | goColMoving);
  const int edge = grid->CellRect(1, 0).Right;
  Mouse(WM_LBUTTONDOWN, edge, 10);
  Mouse(WM_MOUSEMOVE, edge + 21, 10);
  Mouse(WM_LBUTTONUP, edge + 21, 10);
  EXPECT_EQ(grid->ColWidths(1), 85);
  grid->SetCells(1, 1, "moving");
  grid->OnColumnMoved = MakeMethod<&Recorder::Moved>(&rec);
  const TRect target = grid->CellRect(3, 0);
  Mouse(WM_LBUTTONDOWN, 100, 10);
  Mouse(WM_LBUTTONUP, target.Left + 5, 10);
  EXPECT_EQ(rec.log, "moved:1>3 ");
  EXPECT_EQ(grid->Cells(3, 1), "moving");

  // A press on the current cell edits it.
  grid->SetOptions(grid->Options() | goEditing);
  grid->SetCells(grid->Col(), grid->Row(), "cell");
  ClickCell(grid->Col(), grid->Row());
  ASSERT_TRUE(Editing());
  EXPECT_EQ(grid->InplaceEditor()->SelStart(), 4);
}

TEST(GridResource, StringGridsAreOfTheDrawGridFamily) {
  test::TestMachine machine{936};
  Owned<TComponent> root = CreateComponentFromResource(
      "object f: TForm\n"
      "  object grReceive: TStringGrid\n"
      "    ColCount = 8\n"
      "    DefaultRowHeight = 18\n"
      "    FixedCols = 0\n"
      "    RowCount = 2\n"
      "    Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goColSizing, "
      "goEditing, goAlwaysShowEditor]\n"
      "  end\n"
      "end",
      nullptr);
  auto* grid = dynamic_cast<TStringGrid*>(root->FindComponent("grReceive"));
  ASSERT_NE(grid, nullptr);
  EXPECT_TRUE(grid->Is<TDrawGrid>());
  EXPECT_TRUE(grid->Is<TCustomGrid>());
  EXPECT_EQ(grid->ColCount(), 8);
  EXPECT_EQ(grid->RowCount(), 2);
  EXPECT_EQ(grid->FixedCols(), 0);
  EXPECT_EQ(grid->RowHeights(1), 18);
  EXPECT_EQ(grid->Options(), goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine |
                                 goColSizing | goEditing | goAlwaysShowEditor);
  EXPECT_TRUE(grid->EditorMode());

  const std::string text = WriteComponentResource(*root);
  EXPECT_NE(text.find("goAlwaysShowEditor"), std::string::npos);
  EXPECT_EQ(text.find("FixedRows"), std::string::npos);
}

}  // namespace
}  // namespace ox
