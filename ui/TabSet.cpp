#include "ui/TabSet.h"

#include <algorithm>

#include "ui/Canvas.h"

namespace ox {

namespace {

constexpr int kTabEdge = 9;          // the slanted edge on each side of a tab's text
constexpr int kMaxTabWidth = 32767;  // tab sizes are 16-bit on the platform

}  // namespace

const ClassInfo& TTabSet::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TTabSet>("TTabSet", &TCustomControl::StaticClassInfo())
          .creatable()
          .property("AutoScroll", &TTabSet::AutoScroll, &TTabSet::SetAutoScroll)
          .defaultValue(1)
          .integer("BackgroundColor", &TTabSet::BackgroundColor, &TTabSet::SetBackgroundColor,
                   ColorIdents())
          .defaultValue(clBtnFace)
          .property("DitherBackground", &TTabSet::DitherBackground, &TTabSet::SetDitherBackground)
          .defaultValue(1)
          .property("EndMargin", &TTabSet::EndMargin, &TTabSet::SetEndMargin)
          .defaultValue(15)
          .integer("SelectedColor", &TTabSet::SelectedColor, &TTabSet::SetSelectedColor,
                   ColorIdents())
          .defaultValue(clBtnFace)
          .property("StartMargin", &TTabSet::StartMargin, &TTabSet::SetStartMargin)
          .defaultValue(5)
          .property("TabHeight", &TTabSet::TabHeight, &TTabSet::SetTabHeight)
          .defaultValue(20)
          .object<TStrings>("Tabs", &TTabSet::Tabs, &TTabSet::SetTabs)
          .property("TabIndex", &TTabSet::TabIndex, &TTabSet::SetTabIndex)
          .defaultValue(-1)
          .integer("UnselectedColor", &TTabSet::UnselectedColor, &TTabSet::SetUnselectedColor,
                   ColorIdents())
          .defaultValue(clWindow)
          .event("OnChange", &TTabSet::OnChange)
          .build();
  return info;
}

TTabSet::TTabSet(TComponent* owner)
    : TCustomControl(owner), tabs_(std::make_unique<TStringList>()) {
  tabs_->OnChange = MakeMethod<&TTabSet::TabsChanged>(this);
  SetBounds(0, 0, 185, 21);
}

TTabSet::~TTabSet() = default;

TStrings* TTabSet::Tabs() const {
  return tabs_.get();
}

void TTabSet::SetTabs(TStrings* tabs) {
  if (tabs != nullptr) tabs_->Assign(*tabs);
}

void TTabSet::SetTabIndex(int index) {
  if (index == tabIndex_) return;
  if (index < -1 || index >= tabs_->Count())
    throw EListError("Tab index out of bounds (" + std::to_string(index) + ")");
  bool allowChange = true;
  OnChange(this, index, allowChange);
  if (!allowChange) return;
  tabIndex_ = index;
  Click();
}

void TTabSet::SetTabHeight(int value) {
  tabHeight_ = std::max(value, 0);
}

void TTabSet::SetStartMargin(int value) {
  startMargin_ = std::clamp(value, 0, kMaxTabWidth);
}

void TTabSet::TabsChanged(TObject*) {
  tabIndex_ = std::min(tabIndex_, tabs_->Count() - 1);
}

TRect TTabSet::TabRect(int index) const {
  if (index < 0 || index >= tabs_->Count()) return {};
  TCanvas canvas;
  canvas.Font().Assign(*Font());
  int left = startMargin_;
  for (int tab = 0;; ++tab) {
    const int width = std::min(canvas.TextWidth(tabs_->Strings(tab)), kMaxTabWidth) + 2 * kTabEdge;
    if (tab == index) return {left, 0, left + width, tabHeight_};
    left += width;
  }
}

int TTabSet::ItemAtPos(int x, int y) const {
  for (int tab = 0; tab < tabs_->Count(); ++tab)
    if (TabRect(tab).Contains(x, y)) return tab;
  return -1;
}

// The press selects; the release makes no click of its own (OnClick follows the
// selection), so the press is not passed on to the click tracking.
void TTabSet::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft)
    if (const int tab = ItemAtPos(x, y); tab >= 0) SetTabIndex(tab);
  OnMouseDown(this, button, shift, x, y);
}

}  // namespace ox
