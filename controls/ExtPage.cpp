#include "controls/ExtPage.h"

#include "ui/Canvas.h"
#include "ui/Graphics.h"

namespace ox {

const ClassInfo& TExtPageControl::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TExtPageControl>("TExtPageControl", &TPageControl::StaticClassInfo())
          .creatable()
          .build();
  return info;
}

TExtPageControl::TExtPageControl(TComponent* owner) : TPageControl(owner) {
  SetOwnerDraw(true);
}

void TExtPageControl::DrawTab(int tabIndex, const TRect& rect, bool active) {
  if (OnDrawTab) {
    TPageControl::DrawTab(tabIndex, rect, active);
    return;
  }
  TCanvas& canvas = Canvas();
  TRect fill = rect;
  TRect text = rect;
  if (active) {
    fill = {rect.Left + 2, rect.Top + 2, rect.Right - 2, rect.Bottom - 2};
    text = fill;
    canvas.Brush().SetColor(clActiveCaption);
    canvas.Font().SetColor(clCaptionText);
    canvas.Font().SetStyle(canvas.Font().Style() | fsBold);
  } else {
    text = {rect.Left, rect.Top + 2, rect.Right, rect.Bottom + 2};
    canvas.Brush().SetColor(clInactiveCaption);
    canvas.Font().SetColor(clInactiveCaptionText);
    canvas.Font().SetStyle(canvas.Font().Style() & ~fsBold);
  }
  canvas.FillRect(fill);
  // Tab positions count only the pages whose tab is visible.
  const TTabSheet* page = PageForTab(tabIndex);
  if (page != nullptr)
    canvas.DrawText(page->Caption(), text, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

}  // namespace ox
