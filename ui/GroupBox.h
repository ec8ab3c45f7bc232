// Group boxes: a captioned frame holding other controls. Aligned children fill the
// frame below the caption; the caption's accelerator focuses the first control inside.
#pragma once

#include "ui/Controls.h"

namespace ox {

class TCustomGroupBox : public TCustomControl {
 public:
  OX_CLASS_INFO()
  explicit TCustomGroupBox(TComponent* owner);

  bool DialogChar(char key, TShiftState shift) override;

 protected:
  // Below the caption's text height, inside the 3-D frame.
  void AdjustClientRect(TRect& rect) const override;
  void FontChanged() override;
};

class TGroupBox : public TCustomGroupBox {
 public:
  OX_CLASS_INFO()
  using TCustomGroupBox::TCustomGroupBox;
};

}  // namespace ox
