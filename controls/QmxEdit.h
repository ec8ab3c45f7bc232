// Edits that carry their own caption label, named "EditLabel": the label follows the
// edit's parent, enabled state and visibility, and sits above, below, left or right of
// the edit, LabelSpacing pixels away.
#pragma once

#include <string>
#include <vector>

#include "controls/GSpdBtn.h"
#include "ui/DBCtrls.h"
#include "ui/Edit.h"
#include "ui/Label.h"

namespace ox {

enum class TLabelPosition { lpAbove, lpBelow, lpLeft, lpRight };

// The label behaviour on top of an edit class.
template <typename Edit>
class TLabeledEdit : public Edit {
 public:
  explicit TLabeledEdit(TComponent* owner);

  // The label, or null once it has been freed.
  TLabel* EditLabel() const { return label_.get(); }
  // The label's caption; empty (and ignored when set) without a label.
  std::string LabelCaption() const;
  void SetLabelCaption(const std::string& caption);
  TLabelPosition LabelPosition() const { return position_; }
  void SetLabelPosition(TLabelPosition value);
  int LabelSpacing() const { return spacing_; }
  // A negative spacing is ignored.
  void SetLabelSpacing(int value);

  void SetParent(TWinControl* parent) override;
  void SetEnabled(bool enabled) override;

 protected:
  void BoundsChanged() override;
  void VisibleChanged() override;

 private:
  void PlaceLabel();

  ComponentRef<TLabel> label_;
  TLabelPosition position_ = TLabelPosition::lpLeft;
  int spacing_ = 4;
};

class TOxEdit : public TLabeledEdit<TEdit> {
 public:
  OX_CLASS_INFO()
  using TLabeledEdit<TEdit>::TLabeledEdit;
};

class TOxDBEdit : public TLabeledEdit<TDBEdit> {
 public:
  OX_CLASS_INFO()
  using TLabeledEdit<TDBEdit>::TLabeledEdit;
};

// The data edit with a lookup button, named "F2Button", just right of it: the button
// follows the edit's parent, enabled state and visibility and is a square of the edit's
// height, ButtonSpacing pixels away.
class TOxBtnDBEdit : public TOxDBEdit {
 public:
  OX_CLASS_INFO()
  explicit TOxBtnDBEdit(TComponent* owner);

  // The button, or null once it has been freed.
  TGSpeedButton* Button() const { return button_.get(); }
  int ButtonSpacing() const { return spacing_; }
  void SetButtonSpacing(int value);
  // The button's glyph number and hint; 0 and empty (and ignored when set) without it.
  int GlyphIndex() const;
  void SetGlyphIndex(int value);
  std::string ButtonHint() const;
  void SetButtonHint(const std::string& hint);

  void SetParent(TWinControl* parent) override;
  void SetEnabled(bool enabled) override;

  // Replaces the lookup request of a button click.
  TNotifyEvent OnDialog;

 protected:
  void BoundsChanged() override;
  void VisibleChanged() override;

 private:
  void PlaceButton();
  // Runs OnDialog, or focuses the edit and asks its owner form for the lookup window.
  void ButtonClick(TObject* sender);

  ComponentRef<TGSpeedButton> button_;
  int spacing_ = 2;
};

const std::vector<std::string>& LabelPositionNames();

}  // namespace ox
