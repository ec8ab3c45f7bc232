#include "ui/StatusBar.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace ox {

namespace {

const std::vector<std::string> kPanelStyleNames{"psText", "psOwnerDraw"};
const std::vector<std::string> kPanelBevelNames{"pbNone", "pbLowered", "pbRaised"};

}  // namespace

// ---- TStatusPanel ----------------------------------------------------------

const ClassInfo& TStatusPanel::StaticClassInfo() {
  using T = TStatusPanel;
  static const ClassInfo info =
      ClassBuilder<T>("TStatusPanel", &TCollectionItem::StaticClassInfo())
          .enumeration("Alignment", &T::Alignment, &T::SetAlignment, AlignmentNames())
          .defaultValue(0)
          .enumeration("Bevel", &T::Bevel, &T::SetBevel, kPanelBevelNames)
          .defaultValue(1)
          .enumeration("Style", &T::Style, &T::SetStyle, kPanelStyleNames)
          .defaultValue(0)
          .property("Text", &T::Text, &T::SetText)
          .property("Width", &T::Width, &T::SetWidth)
          .defaultValue(50)
          .build();
  return info;
}

// ---- TStatusPanels ---------------------------------------------------------

const ClassInfo& TStatusPanels::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TStatusPanels>("TStatusPanels", &TCollection::StaticClassInfo()).build();
  return info;
}

TStatusPanels::TStatusPanels()
    : TCollection(TStatusPanel::StaticClassInfo(),
                  [](TCollection* collection) -> std::unique_ptr<TCollectionItem> {
                    return std::make_unique<TStatusPanel>(collection);
                  }) {}

TStatusPanel* TStatusPanels::Items(int index) const {
  return static_cast<TStatusPanel*>(TCollection::Items(index));
}

TStatusPanel* TStatusPanels::Add() {
  return static_cast<TStatusPanel*>(TCollection::Add());
}

// ---- TStatusBar ------------------------------------------------------------

const ClassInfo& TStatusBar::StaticClassInfo() {
  using T = TStatusBar;
  static const ClassInfo info =
      ClassBuilder<T>("TStatusBar", &TWinControl::StaticClassInfo())
          .creatable()
          .enumeration("Align", &T::Align, &T::SetAlign, AlignNames())
          .defaultValue(static_cast<int>(TAlign::alBottom))
          .property("AutoHint", &T::AutoHint, &T::SetAutoHint)
          .defaultValue(0)
          .object<TStatusPanels>("Panels", &T::Panels)
          .property("SimplePanel", &T::SimplePanel, &T::SetSimplePanel)
          .defaultValue(0)
          .property("SimpleText", &T::SimpleText, &T::SetSimpleText)
          .property("SizeGrip", &T::SizeGrip, &T::SetSizeGrip)
          .defaultValue(1)
          .property("UseSystemFont", &T::UseSystemFont, &T::SetUseSystemFont)
          .defaultValue(1)
          .build();
  return info;
}

TStatusBar::TStatusBar(TComponent* owner)
    : TWinControl(owner), panels_(std::make_unique<TStatusPanels>()) {
  SetBounds(0, 0, 150, 19);
  SetAlign(TAlign::alBottom);
}

TStatusBar::~TStatusBar() = default;

TRect TStatusBar::PanelRect(int index) const {
  if (simplePanel_ || index < 0 || index >= panels_->Count()) return {};
  const auto widthOf = [&](int i) { return std::int64_t{std::max(panels_->Items(i)->Width(), 0)}; };
  std::int64_t left = 0;
  for (int i = 0; i < index; ++i)
    left += widthOf(i);
  const std::int64_t right = index == panels_->Count() - 1
                                 ? std::max<std::int64_t>(ClientWidth(), left)
                                 : left + widthOf(index);
  constexpr std::int64_t kMax = std::numeric_limits<int>::max();
  return {static_cast<int>(std::min(left, kMax)), 0, static_cast<int>(std::min(right, kMax)),
          ClientHeight()};
}

}  // namespace ox
