// The radio button that paints its own caption: over the standard button it fills
// the text area with its colour and draws the caption there, from an offset that
// grows with the font size (the offset of the text beside the button's circle).
// Checking and clicking are those of the platform radio button.
#pragma once

#include "ui/RadioButton.h"

namespace ox {

class TOxRadioButton : public TRadioButton {
 public:
  OX_CLASS_INFO()
  using TRadioButton::TRadioButton;

  void Paint(TCanvas& canvas) override;
};

// Pixels from the left edge to the caption for a font of `points` points.
int RadioCaptionOffset(int points);

}  // namespace ox
