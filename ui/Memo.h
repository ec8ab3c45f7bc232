// Multi-line edits. Lines are separated by CR LF in the text; Lines is a string list
// owned by the memo and kept equal to the text both ways (its lines hold no objects,
// and the memo uses its OnChange). The caret steps over a line break as one character;
// Up and Down keep the column, Home and End go to the ends of the line (with Ctrl, of
// the text). Enter inserts a line break when WantReturns (else it goes to the form, for
// the default button), Tab inserts a tab when WantTabs. Lines are not wrapped: the
// model has no display to wrap them on, so WordWrap is only kept.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/Edit.h"
#include "ui/Graphics.h"

namespace ox {

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomMemo : public TCustomEdit {
 public:
  OX_CLASS_INFO()
  explicit TCustomMemo(TComponent* owner);
  ~TCustomMemo() override;

  TStrings* Lines() const { return lines_.get(); }
  // Copies the lines of another list.
  void SetLines(TStrings* lines);
  // The caret as column (bytes from the start of its line) and line, from 0.
  TPoint CaretPos() const;

  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool value) { wantReturns_ = value; }
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool value) { wantTabs_ = value; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value) { wordWrap_ = value; }
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value) { scrollBars_ = value; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value) { alignment_ = value; }

  bool WantsKey(std::uint16_t key, TShiftState shift) const override;
  // A memo never selects its whole text on getting the focus.
  void DoEnter() override;

 protected:
  void TextChanged() override;
  void DefaultKeyDown(std::uint16_t key, TShiftState shift) override;
  void TypeControl(char key) override;
  int NextPosition(int pos) const override;
  int PositionAt(int x, int y) const override;

 private:
  struct LineSpan {
    int start;
    int end;  // before the line break
  };
  std::vector<LineSpan> LineSpans() const;
  int LineOf(const std::vector<LineSpan>& spans, int pos) const;
  // The position in `line` at the byte column, moved back to a character's start.
  int PositionInLine(const LineSpan& line, int column) const;
  void LinesChanged(TObject* sender);
  // Splits the text into the lines, without reacting to their change.
  void SyncLines();

  std::unique_ptr<TStringList> lines_;
  bool syncingLines_ = false;
  bool wantReturns_ = true;
  bool wantTabs_ = false;
  bool wordWrap_ = true;
  TScrollStyle scrollBars_ = TScrollStyle::ssNone;
  TAlignment alignment_ = TAlignment::taLeftJustify;
};

class TMemo : public TCustomMemo {
 public:
  OX_CLASS_INFO()
  using TCustomMemo::TCustomMemo;
};

const std::vector<std::string>& ScrollStyleNames();

}  // namespace ox
