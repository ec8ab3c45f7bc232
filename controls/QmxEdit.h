// Edits that carry their own caption label, named "EditLabel": the label follows the
// edit's parent, enabled state and visibility, and sits above, below, left or right of
// the edit, LabelSpacing pixels away.
#pragma once

#include <string>
#include <vector>

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

const std::vector<std::string>& LabelPositionNames();

}  // namespace ox
