// A page control that draws its own tabs: the active tab in the colours of an active
// window caption (bold, 2 pixels inside its rectangle), the others in the colours of an
// inactive caption with the text 2 pixels lower. OnDrawTab, when assigned, draws instead.
#pragma once

#include "ui/PageControl.h"

namespace ox {

class TExtPageControl : public TPageControl {
 public:
  OX_CLASS_INFO()
  explicit TExtPageControl(TComponent* owner);

  void DrawTab(int tabIndex, const TRect& rect, bool active) override;
};

}  // namespace ox
