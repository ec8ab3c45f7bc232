// A label that belongs to one control: it keeps itself beside that control (AutoAlign)
// and, for a data-aware control, shows the display label of the field the control
// shows (AutoCaption). Two such labels never belong to the same control.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/Label.h"

namespace ox {

// The side of the control the label sits on.
enum class TPos { psTop, psLeft, psRight, psBottom };

class TDBLabel : public TLabel {
 public:
  OX_CLASS_INFO()
  explicit TDBLabel(TComponent* owner);

  // Refuses a control that another TDBLabel of the same parent already belongs to
  // (telling the user unless it is this label); attaching takes the caption and the
  // place beside the control.
  void SetFocusControl(TWinControl* control) override;
  bool AutoAlign() const { return autoAlign_; }
  void SetAutoAlign(bool value);
  bool AutoCaption() const { return autoCaption_; }
  void SetAutoCaption(bool value) { autoCaption_ = value; }
  std::uint8_t Gap() const { return gap_; }
  void SetGap(std::uint8_t value);
  TPos Pos() const { return pos_; }
  void SetPos(TPos value);

 private:
  // Whether another label among the parent's components already belongs to `control`.
  const TDBLabel* LabelOf(const TWinControl* control) const;
  // The caption from the display label of the control's data field, when it has one.
  void TakeFieldCaption();
  // The field caption (AutoCaption), then the place beside the control (AutoAlign).
  void Realign();

  bool autoAlign_ = true;
  bool autoCaption_ = true;
  std::uint8_t gap_ = 4;
  TPos pos_ = TPos::psLeft;
};

const std::vector<std::string>& PosNames();

}  // namespace ox
