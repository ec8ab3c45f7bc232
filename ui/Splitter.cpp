#include "ui/Splitter.h"

#include <algorithm>

namespace ox {

namespace {

bool Horizontal(TAlign align) {
  return align == TAlign::alLeft || align == TAlign::alRight;
}

}  // namespace

const std::vector<std::string>& ResizeStyleNames() {
  static const std::vector<std::string> names{"rsNone", "rsLine", "rsUpdate", "rsPattern"};
  return names;
}

const ClassInfo& TSplitter::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TSplitter>("TSplitter", &TGraphicControl::StaticClassInfo())
          .creatable()
          .enumeration("Align", &TSplitter::Align, &TSplitter::SetAlign, AlignNames())
          .defaultValue(static_cast<int>(TAlign::alLeft))
          .property("AutoSnap", &TSplitter::AutoSnap, &TSplitter::SetAutoSnap)
          .defaultValue(1)
          .property("Beveled", &TSplitter::Beveled, &TSplitter::SetBeveled)
          .defaultValue(0)
          .property("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize)
          .defaultValue(30)
          .enumeration("ResizeStyle", &TSplitter::ResizeStyle, &TSplitter::SetResizeStyle,
                       ResizeStyleNames())
          .defaultValue(static_cast<int>(TResizeStyle::rsPattern))
          .event("OnMoved", &TSplitter::OnMoved)
          .build();
  return info;
}

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
  SetAlign(TAlign::alLeft);
  SetWidth(3);
}

void TSplitter::SetMinSize(int value) {
  minSize_ = std::max(value, 1);
}

TControl* TSplitter::FindControl() const {
  const TWinControl* parent = Parent();
  if (parent == nullptr) return nullptr;
  // The point just outside the splitter on the side it is aligned to.
  TPoint point{Left(), Top()};
  switch (Align()) {
    case TAlign::alLeft:
      --point.X;
      break;
    case TAlign::alRight:
      point.X += Width();
      break;
    case TAlign::alTop:
      --point.Y;
      break;
    case TAlign::alBottom:
      point.Y += Height();
      break;
    default:
      return nullptr;
  }
  const bool before = Align() == TAlign::alLeft || Align() == TAlign::alTop;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* control = parent->Controls(i);
    if (!control->Visible() || !control->Enabled()) continue;
    // A collapsed control still counts as touching the splitter.
    TRect r = control->BoundsRect();
    if (r.Width() == 0) {
      if (before)
        --r.Left;
      else
        ++r.Right;
    }
    if (r.Height() == 0) {
      if (before)
        --r.Top;
      else
        ++r.Bottom;
    }
    if (r.Contains(point.X, point.Y)) return control;
  }
  return nullptr;
}

int TSplitter::NewSize(int x, int y) const {
  const TControl* control = control_.get();
  const bool horizontal = Horizontal(Align());
  const int split = horizontal ? x - downPos_.X : y - downPos_.Y;
  const int size = horizontal ? control->Width() : control->Height();
  const bool grows = Align() == TAlign::alLeft || Align() == TAlign::alTop;
  const int wanted = grows ? size + split : size - split;
  if (wanted < minSize_) return minSize_;
  return std::min(wanted, maxSize_);
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft) return;
  control_ = FindControl();
  TControl* control = control_.get();
  if (control == nullptr) return;
  downPos_ = {x, y};
  // The room the other aligned controls of that direction leave, less MinSize.
  const bool horizontal = Horizontal(Align());
  const TWinControl* parent = Parent();
  maxSize_ = (horizontal ? parent->ClientWidth() : parent->ClientHeight()) - minSize_;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    const TControl* other = parent->Controls(i);
    if (other->Visible() && other->Align() != TAlign::alNone &&
        other->Align() != TAlign::alClient && Horizontal(other->Align()) == horizontal)
      maxSize_ -= horizontal ? other->Width() : other->Height();
  }
  maxSize_ += horizontal ? control->Width() : control->Height();
  newSize_ = NewSize(x, y);
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!control_) return;
  newSize_ = NewSize(x, y);
  if (autoSnap_ && newSize_ <= minSize_) newSize_ = 0;
  if (resizeStyle_ == TResizeStyle::rsUpdate) UpdateControlSize();
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (!control_) return;
  UpdateControlSize();
  control_ = nullptr;
}

void TSplitter::UpdateControlSize() {
  TControl* control = control_.get();
  if (control == nullptr) return;
  TRect r = control->BoundsRect();
  switch (Align()) {
    case TAlign::alLeft:
      r.Right = r.Left + newSize_;
      break;
    case TAlign::alRight:
      r.Left = r.Right - newSize_;
      break;
    case TAlign::alTop:
      r.Bottom = r.Top + newSize_;
      break;
    case TAlign::alBottom:
      r.Top = r.Bottom - newSize_;
      break;
    default:
      return;
  }
  if (r == control->BoundsRect()) return;
  control->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  OnMoved(this);
}

}  // namespace ox
