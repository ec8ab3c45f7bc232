// The lookup button: a glyph button bound to a windowed control (an edit) that asks the
// control's owner form to open the lookup window for that control.
#pragma once

#include <cstdint>

#include "controls/GSpdBtn.h"
#include "platform/WinMessages.h"

namespace ox {

// Sent to the owner form to open the lookup window for the control in the long
// parameter (word parameter 0).
inline constexpr UINT WM_OPENWIN = WM_USER + 10;

class TF2Button : public TGSpeedButton {
 public:
  OX_CLASS_INFO()
  // Flat, glyph 8, auto-aligned with a gap of 2.
  explicit TF2Button(TComponent* owner);

  bool AutoAlign() const { return autoAlign_; }
  void SetAutoAlign(bool value);
  TWinControl* F2Control() const { return f2Control_.get(); }
  // Refused when a lookup button owned by this button's parent is already bound to the
  // control; another button's binding is reported.
  void SetF2Control(TWinControl* control);
  int Gap() const { return gap_; }
  // A byte: kept modulo 256.
  void SetGap(int value);

  // The normal click, then the bound control (when enabled) gets the focus and its
  // owner form is asked to open the lookup window for it.
  void Click() override;

 private:
  // With AutoAlign and a bound control: a square of the control's height just right of
  // it, at its top.
  void AlignToControl();
  // The lookup button among the components owned by the parent bound to `control`.
  TF2Button* BoundTo(const TWinControl* control) const;

  bool autoAlign_ = true;
  ComponentRef<TWinControl> f2Control_;
  std::uint8_t gap_ = 2;
};

}  // namespace ox
