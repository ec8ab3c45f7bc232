// The selection panel: a group box that takes one report condition either as a range
// (a begin and a final value in the edits edBegin and edFinal) or as a list of
// discrete values (the rows of ListBox), or lets the user switch between the two. It
// builds and owns all of its children; the option forms address them by those names.
//
// Modes: sp_Range shows the range page, sp_Discrete the list page, sp_UserChoice a
// switch (a check box captioned HintWord) above the page in use: checked (UserChoice
// true) the range, unchecked the list. Leaving the panel puts the range in order
// according to ValueType (see DoExit).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/BtChkBox.h"
#include "controls/F2Button.h"
#include "controls/GSpdBtn.h"
#include "controls/ListRowFacts.h"
#include "platform/DateTime.h"
#include "ui/GroupBox.h"
#include "ui/Label.h"
#include "ui/ListView.h"
#include "ui/MaskEdit.h"
#include "ui/Panel.h"

namespace ox {

enum class TSelectStyle { sp_Range, sp_Discrete, sp_UserChoice };
enum class TValueType { vt_String, vt_Number, vt_Date, vt_Time, vt_Float, vt_OtherMask };
enum class TDateType { dt_NoneCare, dt_YYYYMMDD, dt_MMDDYYYY, dt_DDMMYYYY, dt_YYMMDD, dt_YYYMMDD };
enum class TCheckDuplicate { cd_None, cd_CheckCase, cd_CaseInsensitive };

const std::vector<std::string>& SelectStyleNames();
const std::vector<std::string>& ValueTypeNames();
const std::vector<std::string>& DateTypeNames();
const std::vector<std::string>& CheckDuplicateNames();

// The panel and the control whose lookup window is wanted.
using TOpenWinClickEvent = Event<TObject*, TWinControl*>;
using TDeleteClickEvent = Event<TObject*, bool&>;
// The current style, the proposed one (the handler may change it), and whether to go on.
using TStyleChangingEvent = Event<TObject*, TSelectStyle, TSelectStyle&, bool&>;
using TStyleChangeEvent = Event<TObject*, TSelectStyle, TSelectStyle>;
// The item, its index and whether it is now selected.
using TListViewSelectItemEvent = Event<TObject*, TListItem*, int, bool>;
using TListViewDataChangeEvent = Event<TObject*, TListItem*, TItemChange>;
using TListViewDataChangingEvent = Event<TObject*, TListItem*, TItemChange, bool&>;

// The switch between range and list: a bitmap check box with nothing added.
class TZelCheckBox : public TBitCheckBox {
 public:
  OX_CLASS_INFO()
  using TBitCheckBox::TBitCheckBox;
};

// A masked edit whose change notification can be held back while the panel swaps its
// mask.
class TZelMaskEdit : public TMaskEdit {
 public:
  OX_CLASS_INFO()
  using TMaskEdit::TMaskEdit;
  bool Suppressed() const { return suppressed_; }
  void SetSuppressed(bool value) { suppressed_ = value; }

 protected:
  void Change() override;

 private:
  bool suppressed_ = false;
};

// The panel's list. A left click first gives it the focus and selects only when the
// focus arrived (an OnExit elsewhere may keep it away).
class TZelListView : public TListView {
 public:
  OX_CLASS_INFO()
  using TListView::TListView;
  bool ColumnsAutoSize() const { return columnsAutoSize_; }
  void SetColumnsAutoSize(bool value) { columnsAutoSize_ = value; }
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  bool columnsAutoSize_ = true;
};

class TSelectPanel : public TCustomGroupBox {
 public:
  OX_CLASS_INFO()
  // 353 x 45, the horizontal range; every child built.
  explicit TSelectPanel(TComponent* owner);
  ~TSelectPanel() override;

  bool AutoChangeDateSite() const { return autoChangeDateSite_; }
  void SetAutoChangeDateSite(bool value) { autoChangeDateSite_ = value; }
  // Entry 0 labels the begin edit in the horizontal range, entry 1 in the vertical one.
  TStrings* BeginWords() const { return beginWords_.get(); }
  void SetBeginWords(TStrings* words);
  TStrings* FinalWords() const { return finalWords_.get(); }
  void SetFinalWords(TStrings* words);
  bool ColumnsAutoSize() const { return listBox_->ColumnsAutoSize(); }
  void SetColumnsAutoSize(bool value) { listBox_->SetColumnsAutoSize(value); }
  bool CanOpenWin() const { return canOpenWin_; }
  void SetCanOpenWin(bool value);
  TCheckDuplicate CheckDuplicate() const { return checkDuplicate_; }
  // Any check turns SortListBox on; in list mode duplicates go at once.
  void SetCheckDuplicate(TCheckDuplicate value);
  // Hints of the children by position: switch, edBegin, its button, edFinal, its
  // button, ListBox, its button, delete, clear.
  TStrings* ChildHints() const { return childHints_.get(); }
  void SetChildHints(TStrings* hints);
  // The captions of the list's columns; setting rebuilds the columns.
  TStrings* ColumnCaptions() const;
  void SetColumnCaptions(TStrings* captions);
  TListColumns* Columns() const { return listBox_->Columns(); }
  void SetColumns(TListColumns* columns);
  TDateType DateType() const { return dateType_; }
  void SetDateType(TDateType value) { dateType_ = value; }
  const std::string& DateSign() const { return dateSign_; }
  void SetDateSign(const std::string& value) { dateSign_ = value; }
  // A bound equal to this text (trimmed) is never swapped, with UseDiscard.
  const std::string& Discard() const { return discard_; }
  void SetDiscard(const std::string& value) { discard_ = value; }
  const std::string& EditMask() const { return editMask_; }
  // Sets the mask of both edits and records BlankMaskText; the edits keep their texts.
  void SetEditMask(const std::string& mask);
  int GlyphIndex() const { return glyphIndex_; }
  // The glyph of the three open-window buttons; when it cannot be loaded they get no
  // glyph and GlyphIndex stays.
  void SetGlyphIndex(int value);
  const std::string& HintWord() const { return switch_->Caption(); }
  void SetHintWord(const std::string& value);
  bool HideSelection() const { return listBox_->HideSelection(); }
  void SetHideSelection(bool value) { listBox_->SetHideSelection(value); }
  TListItems* Items() const { return listBox_->Items(); }
  void SetItems(TListItems* items);
  int OtherHeight() const { return otherHeight_; }
  void SetOtherHeight(int value) { otherHeight_ = value; }
  int OtherWidth() const { return otherWidth_; }
  void SetOtherWidth(int value) { otherWidth_ = value; }
  bool ShowColumnHeader() const { return listBox_->ShowColumnHeaders(); }
  void SetShowColumnHeader(bool value) { listBox_->SetShowColumnHeaders(value); }
  bool SortListBox() const { return sortListBox_; }
  void SetSortListBox(bool value);
  TSelectStyle Style() const { return style_; }
  // Asks OnStyleChanging, then shows the new mode; the size swaps with the other size
  // between the range and a list style (horizontal range only, not while loading).
  void SetStyle(TSelectStyle value);
  bool UseDiscard() const { return useDiscard_; }
  void SetUseDiscard(bool value) { useDiscard_ = value; }
  // In sp_UserChoice: true = the range is in use, false = the list. Other styles
  // ignore setting it.
  bool UserChoice() const { return userChoice_; }
  void SetUserChoice(bool value);
  bool UseVertical() const { return useVertical_; }
  // Only in sp_Range: begin and final on two rows; the size swaps unless loading.
  void SetUseVertical(bool value);
  TValueType ValueType() const { return valueType_; }
  void SetValueType(TValueType value) { valueType_ = value; }

  // The children, under the names the forms address them by.
  TZelMaskEdit* edBegin() const { return edBegin_; }
  TZelMaskEdit* edFinal() const { return edFinal_; }
  TZelListView* ListBox() const { return listBox_; }
  TZelCheckBox* Switch() const { return switch_; }
  TF2Button* BeginButton() const { return btnBegin_; }
  TF2Button* FinalButton() const { return btnFinal_; }
  TF2Button* ListButton() const { return btnList_; }
  TGSpeedButton* DeleteButton() const { return btnDelete_; }
  TGSpeedButton* ClearButton() const { return btnClear_; }
  TPanel* RangePage() const { return rangePage_; }
  TPanel* ListPage() const { return listPage_; }
  TLabel* BeginLabel() const { return lbBegin_; }
  TLabel* FinalLabel() const { return lbFinal_; }

  // What an empty begin edit shows under the current mask.
  const std::string& BlankMaskText() const { return blankMaskText_; }
  // sp_Range, or sp_UserChoice with UserChoice.
  bool IsRangeMode() const;

  // Adds one row: caption = values[0], sub-items = the others. Columns "Data<n>" are
  // added until there is one per value, every row is padded to the same number of
  // sub-items, duplicates go (CheckDuplicate), and the columns are sized
  // (ColumnsAutoSize). False for no values or any failure (rows added so far stay).
  bool AddItem(const std::vector<std::string>& values);
  void Clear();
  // Each column as wide as "W" times the length of its longest text, caption included.
  void AutoSizeColumns();
  // Sorts by the sort column in the sort direction.
  void SortItems();
  int SortColumn() const { return sortColumn_; }
  bool SortAscending() const { return sortAscending_; }
  // A column header click: that column ascending, or the same column reversed.
  void ColumnClick(int column);

  void SetEnabled(bool enabled) override;
  // Focuses the panel, and in list mode the list.
  void SetFocus() override;
  // Puts the range in order, then OnExit. Both texts are trimmed (unless the mask
  // starts with "!"); when both are filled in they are swapped if the begin comes after
  // the final: as integers (vt_Number, a non-number reads 0), as typed dates
  // (vt_Date, see ReadPanelDate; with dt_NoneCare by their bytes), as floating-point
  // numbers (vt_Float), or by their bytes (vt_String, vt_Time). Blank mask texts and
  // the Discard text are never swapped for dates, strings and times; vt_OtherMask never.
  // vt_Float compares the texts as they were typed and never rewrites them: a bound
  // that does not read as a number leaves both where they are.
  void DoExit() override;

  TOpenWinClickEvent OnOpenWinClick;
  TNotifyEvent OnClearClick;
  TDeleteClickEvent OnDeleteClick;
  TNotifyEvent OnTypeClick;
  TStyleChangingEvent OnStyleChanging;
  TStyleChangeEvent OnStyleChange;
  TListViewSelectItemEvent OnItemSelect;
  TListViewDataChangeEvent OnItemChange;
  TListViewDataChangingEvent OnItemChanging;

 protected:
  void BoundsChanged() override;
  void FontChanged() override;

 private:
  void CreateChildren();
  template <typename T>
  T* MakeChild(TWinControl* parent, const char* name = "");
  void HookChildEvents(TControl* child);
  void ApplyChildHints(TObject* sender);
  void BeginWordsChanged(TObject* sender);
  void FinalWordsChanged(TObject* sender);
  void WordsChanged(TStringList& words, TLabel& label);
  void ColumnCaptionsChanged(TObject* sender);
  static void SetEnabledInside(TWinControl& parent, bool enabled);

  // Visibility and layout.
  void ApplyVisibility();
  void Relayout();
  void SizeSwitch();
  void LayoutHorizontalRange();
  void LayoutVerticalRange();
  void LayoutList();
  void PlacePage(TPanel* page, int top);
  void SwapSize();
  void CaptionFromWords(TLabel& label, const TStrings& words, int entry);

  // Child events raised as the panel's own.
  TObject* SenderFor(TObject* child);
  struct MouseAt {
    TObject* sender;
    TPoint point;
  };
  MouseAt AsPanelMouse(TObject* child, int x, int y);
  void ChildClick(TObject* sender);
  void ChildDblClick(TObject* sender);
  void ChildMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void ChildMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void ChildMouseMove(TObject* sender, TShiftState shift, int x, int y);
  void ChildKeyDown(TObject* sender, std::uint16_t& key, TShiftState shift);
  void ChildKeyUp(TObject* sender, std::uint16_t& key, TShiftState shift);
  void ChildKeyPress(TObject* sender, char& key);
  void ListSelectItem(TObject* sender, TListItem* item, bool selected);
  void ListChange(TObject* sender, TListItem* item, TItemChange change);
  void ListChanging(TObject* sender, TListItem* item, TItemChange change, bool& allow);
  void ListColumnClick(TObject* sender, TListColumn* column);
  void ListCompare(TObject* sender, TListItem* a, TListItem* b, int data, int& result);

  // The buttons.
  void SwitchClick();
  void OpenWinClick(TF2Button* button);
  void DeleteClick();
  void ClearClick();

  // Rows.
  void AddColumnsFor(std::size_t valueCount);
  TListItem* AddRow(const std::vector<std::string>& values);
  // Takes the rows' facts afresh when something else changed the rows.
  void CatchUpWithRows();
  // Pads the new row, or every row when the new one `raised` the most sub-items.
  void PadRows(TListItem* added, bool raised);
  // Removes adjacent duplicates; with `added` on rows known to be clean, only around it.
  void RemoveDuplicates(TListItem* added);
  int IndexOfAdded(TListItem* added) const;
  bool SameCaption(const TListItem& a, const TListItem& b) const;
  int CompareRows(TListItem* a, TListItem* b) const;

  // Exit normalisation.
  bool ShouldSwap(const std::string& begin, const std::string& final) const;
  bool IsDiscarded(const std::string& begin, const std::string& final) const;

  bool autoChangeDateSite_ = true;
  std::unique_ptr<TStringList> beginWords_;
  std::unique_ptr<TStringList> finalWords_;
  bool canOpenWin_ = true;
  TCheckDuplicate checkDuplicate_ = TCheckDuplicate::cd_None;
  std::unique_ptr<TStringList> childHints_;
  std::unique_ptr<TStringList> columnCaptions_;  // scratch list ColumnCaptions answers
  mutable bool refreshingCaptions_ = false;
  TDateType dateType_ = TDateType::dt_NoneCare;
  std::string dateSign_ = "/";
  std::string discard_;
  std::string editMask_;
  int glyphIndex_ = 8;
  int otherHeight_ = 105;
  int otherWidth_ = 200;
  bool sortListBox_ = false;
  TSelectStyle style_ = TSelectStyle::sp_Range;
  bool useDiscard_ = false;
  bool userChoice_ = true;
  bool useVertical_ = false;
  TValueType valueType_ = TValueType::vt_String;

  std::string blankMaskText_;
  int sortColumn_ = 0;
  bool sortAscending_ = true;
  ListRowFacts facts_;
  // The rows hold no adjacent duplicates under this check (cd_None: not known).
  TCheckDuplicate cleanUnder_ = TCheckDuplicate::cd_None;
  bool built_ = false;  // the children exist: layout may run

  TZelCheckBox* switch_ = nullptr;
  TPanel* rangePage_ = nullptr;
  TLabel* lbBegin_ = nullptr;
  TZelMaskEdit* edBegin_ = nullptr;
  TF2Button* btnBegin_ = nullptr;
  TLabel* lbFinal_ = nullptr;
  TZelMaskEdit* edFinal_ = nullptr;
  TF2Button* btnFinal_ = nullptr;
  TPanel* listPage_ = nullptr;
  TF2Button* btnList_ = nullptr;
  TGSpeedButton* btnDelete_ = nullptr;
  TGSpeedButton* btnClear_ = nullptr;
  TZelListView* listBox_ = nullptr;
};

// A date typed into a panel's edit, as the exit rule reads it: a text with one
// separator is completed with day 01, fields are read in the order of the date type
// (dt_YYMMDD and dt_YYYMMDD count years from 1911). No date for an empty text, the
// blank mask text, dt_NoneCare, or anything that is not a whole date.
std::optional<TDateTime> ReadPanelDate(std::string_view text, std::string_view sign, TDateType type,
                                       std::string_view blankMaskText);

}  // namespace ox
