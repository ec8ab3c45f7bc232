// The splitter: a thin aligned bar that resizes the control it is aligned against
// (the visible, enabled neighbour on the side it is aligned to) when dragged with the
// mouse. The new size stays between MinSize and what the parent leaves after the
// other aligned controls and MinSize; with AutoSnap a drag to MinSize collapses the
// control to 0. ResizeStyle rsUpdate resizes while dragging, the others on release;
// OnMoved follows every resize.
#pragma once

#include "ui/Controls.h"

namespace ox {

enum class TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };

class TSplitter : public TGraphicControl {
 public:
  OX_CLASS_INFO()
  explicit TSplitter(TComponent* owner);

  int MinSize() const { return minSize_; }
  void SetMinSize(int value);  // at least 1
  TResizeStyle ResizeStyle() const { return resizeStyle_; }
  void SetResizeStyle(TResizeStyle value) { resizeStyle_ = value; }
  bool Beveled() const { return beveled_; }
  void SetBeveled(bool value) { beveled_ = value; }
  bool AutoSnap() const { return autoSnap_; }
  void SetAutoSnap(bool value) { autoSnap_ = value; }

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

  TNotifyEvent OnMoved;

 private:
  // The control the splitter is aligned against, or null.
  TControl* FindControl() const;
  // The size the control takes for the mouse at (x, y), between the limits.
  int NewSize(int x, int y) const;
  void UpdateControlSize();

  int minSize_ = 30;
  TResizeStyle resizeStyle_ = TResizeStyle::rsPattern;
  bool beveled_ = false;
  bool autoSnap_ = true;
  // While dragging: the control, where the press was, the largest size, the size to
  // give the control.
  ComponentRef<TControl> control_;
  TPoint downPos_;
  int maxSize_ = 0;
  int newSize_ = 0;
};

// The names of TResizeStyle for form resources.
const std::vector<std::string>& ResizeStyleNames();

}  // namespace ox
