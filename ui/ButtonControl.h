// The base of push buttons, check boxes and radio buttons, as the framework's button
// controls: a left press focuses the control where it can, and a release inside it
// clicks it; the space key clicks the focused control. When the focus stays elsewhere
// (an OnExit of the control being left that keeps it), the release clicks nothing.
#pragma once

#include "ui/Controls.h"

namespace ox {

class TButtonControl : public TWinControl {
 public:
  OX_CLASS_INFO()
  using TWinControl::TWinControl;

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  // The click is reported before the release reaches OnMouseUp.
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 protected:
  void DefaultKeyDown(std::uint16_t key, TShiftState shift) override;
  // Whether a left press is moving the focus to the control (so the focus does not
  // come from the keyboard).
  bool Pressing() const { return pressing_; }

 private:
  bool pressing_ = false;
  bool pressed_ = false;  // a press the release may complete into a click
};

}  // namespace ox
