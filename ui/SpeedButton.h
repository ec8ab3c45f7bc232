// Speed buttons: windowless buttons with a glyph that never take the focus. A button
// with a GroupIndex stays down when clicked, and the other speed buttons of the same
// parent and group come up; a down button comes up on a click only with AllowAllUp
// (which the whole group shares). The caption's accelerator clicks the button.
#pragma once

#include "ui/ButtonGlyph.h"
#include "ui/Controls.h"

namespace ox {

class TSpeedButton : public TGraphicControl, public TButtonGlyph {
 public:
  OX_CLASS_INFO()
  explicit TSpeedButton(TComponent* owner);

  bool Down() const { return down_; }
  // Down only in a group; a down button refuses to come up without AllowAllUp.
  void SetDown(bool value);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value);
  bool Flat() const { return flat_; }
  void SetFlat(bool value) { flat_ = value; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value) { transparent_ = value; }

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  // A release inside after a press toggles Down in a group, then clicks.
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  bool DialogChar(char key, TShiftState shift) override;

 private:
  // Brings the other down buttons of the group up and shares AllowAllUp with them.
  void UpdateExclusive();

  bool down_ = false;
  int groupIndex_ = 0;
  bool allowAllUp_ = false;
  bool flat_ = false;
  bool transparent_ = true;
  bool pressed_ = false;
};

}  // namespace ox
