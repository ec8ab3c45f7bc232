#include "controls/OxRadioButton.h"

#include "ui/Canvas.h"

namespace ox {

const ClassInfo& TOxRadioButton::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TOxRadioButton>("TOxRadioButton", &TRadioButton::StaticClassInfo())
          .creatable()
          .build();
  return info;
}

int RadioCaptionOffset(int points) {
  struct Step {
    int upTo;  // the largest size of the step
    int offset;
  };
  static constexpr Step kSteps[] = {{8, 17},  {15, 19}, {17, 20}, {23, 21}, {29, 23},
                                    {35, 25}, {41, 27}, {43, 29}, {60, 31}, {80, 39}};
  if (points < 1) return 44;
  for (const Step& step : kSteps)
    if (points <= step.upTo) return step.offset;
  return 44;
}

// The text area, widened by 4 pixels on every side, is filled in the button's colour
// to cover the standard caption; the caption then goes on one line, centred vertically.
void TOxRadioButton::Paint(TCanvas& canvas) {
  TRadioButton::Paint(canvas);
  const TRect textArea{RadioCaptionOffset(Font()->Size()), 0, ClientWidth(), ClientHeight()};
  canvas.Pen().SetColor(Color());
  canvas.Brush().SetColor(Color());
  canvas.Rectangle({textArea.Left - 4, textArea.Top - 4, textArea.Right + 4, textArea.Bottom + 4});
  canvas.Font().Assign(*Font());
  canvas.DrawText(Caption(), textArea, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

}  // namespace ox
