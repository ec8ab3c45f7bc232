#include "ui/Panel.h"

#include <algorithm>
#include <cstdint>

namespace ox {

const std::vector<std::string>& BevelCutNames() {
  static const std::vector<std::string> names{"bvNone", "bvLowered", "bvRaised", "bvSpace"};
  return names;
}

const ClassInfo& TPanel::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TPanel>("TPanel", &TCustomControl::StaticClassInfo())
          .creatable()
          .enumeration("Alignment", &TPanel::Alignment, &TPanel::SetAlignment, AlignmentNames())
          .defaultValue(static_cast<int>(TAlignment::taCenter))
          .enumeration("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner, BevelCutNames())
          .defaultValue(static_cast<int>(TBevelCut::bvNone))
          .enumeration("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter, BevelCutNames())
          .defaultValue(static_cast<int>(TBevelCut::bvRaised))
          .property("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth)
          .defaultValue(1)
          .enumeration("BorderStyle", &TPanel::BorderStyle, &TPanel::SetBorderStyle,
                       BorderStyleNames())
          .defaultValue(static_cast<int>(TBorderStyle::bsNone))
          .property("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth)
          .defaultValue(0)
          .property("FullRepaint", &TPanel::FullRepaint, &TPanel::SetFullRepaint)
          .defaultValue(1)
          .property("ParentBackground", &TPanel::ParentBackground, &TPanel::SetParentBackground)
          .defaultValue(1)
          .build();
  return info;
}

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 185, 41);
}

void TPanel::SetBevelInner(TBevelCut value) {
  bevelInner_ = value;
  AlignControls();
}

void TPanel::SetBevelOuter(TBevelCut value) {
  bevelOuter_ = value;
  AlignControls();
}

void TPanel::SetBevelWidth(int value) {
  bevelWidth_ = std::max(value, 1);
  AlignControls();
}

void TPanel::SetBorderStyle(TBorderStyle value) {
  borderStyle_ = value;
  AlignControls();
}

void TPanel::SetBorderWidth(int value) {
  borderWidth_ = std::max(value, 0);
  AlignControls();
}

int TPanel::EdgeWidth() const {
  return borderStyle_ == TBorderStyle::bsSingle ? 2 : 0;
}

int TPanel::ClientWidth() const {
  return std::max(Width() - 2 * EdgeWidth(), 0);
}

int TPanel::ClientHeight() const {
  return std::max(Height() - 2 * EdgeWidth(), 0);
}

void TPanel::AdjustClientRect(TRect& rect) const {
  std::int64_t sum = borderWidth_;
  if (bevelOuter_ != TBevelCut::bvNone) sum += bevelWidth_;
  if (bevelInner_ != TBevelCut::bvNone) sum += bevelWidth_;
  // Any width beyond the coordinate range leaves no room at all.
  const int inset = static_cast<int>(std::min<std::int64_t>(sum, 1 << 20));
  rect = {rect.Left + inset, rect.Top + inset, rect.Right - inset, rect.Bottom - inset};
}

}  // namespace ox
