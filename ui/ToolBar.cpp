#include "ui/ToolBar.h"

#include <algorithm>

#include "ui/Canvas.h"
#include "ui/ImageList.h"
#include "ui/Menus.h"

namespace ox {

namespace {

constexpr int kDropDownArrowWidth = 11;
constexpr int kSeparatorWidth = 8;
constexpr int kCaptionPadding = 4;  // on each side of a shown caption
constexpr int kMaxExtent = 32767;   // button sizes are 16-bit on the platform

const std::vector<std::string> kButtonStyleNames{"tbsButton", "tbsCheck", "tbsDropDown",
                                                 "tbsSeparator", "tbsDivider"};
const std::vector<std::string> kEdgeStyleNames{"esNone", "esRaised", "esLowered"};
const std::vector<std::string> kEdgeBorderNames{"ebLeft", "ebTop", "ebRight", "ebBottom"};

bool IsSeparator(TToolButtonStyle style) {
  return style == TToolButtonStyle::tbsSeparator || style == TToolButtonStyle::tbsDivider;
}

}  // namespace

// ---- TToolButton -----------------------------------------------------------

const ClassInfo& TToolButton::StaticClassInfo() {
  using T = TToolButton;
  static const ClassInfo info =
      ClassBuilder<T>("TToolButton", &TGraphicControl::StaticClassInfo())
          .creatable()
          .property("AllowAllUp", &T::AllowAllUp, &T::SetAllowAllUp)
          .defaultValue(0)
          .property("Down", &T::Down, &T::SetDown)
          .defaultValue(0)
          .object<TPopupMenu>("DropdownMenu", &T::DropdownMenu, &T::SetDropdownMenu)
          .property("Grouped", &T::Grouped, &T::SetGrouped)
          .defaultValue(0)
          .property("ImageIndex", &T::ImageIndex, &T::SetImageIndex)
          .defaultValue(-1)
          .property("Indeterminate", &T::Indeterminate, &T::SetIndeterminate)
          .defaultValue(0)
          .property("Marked", &T::Marked, &T::SetMarked)
          .defaultValue(0)
          .object<TMenuItem>("MenuItem", &T::MenuItem, &T::SetMenuItem)
          .enumeration("Style", &T::Style, &T::SetStyle, kButtonStyleNames)
          .defaultValue(0)
          .property("Wrap", &T::Wrap, &T::SetWrap)
          .defaultValue(0)
          .build();
  return info;
}

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 23, 22);
}

TToolButton::~TToolButton() {
  SetParent(nullptr);
}

void TToolButton::SetParent(TWinControl* parent) {
  if (parent == Parent()) return;
  if (toolBar_ != nullptr) {
    auto& buttons = toolBar_->buttons_;
    buttons.erase(std::remove(buttons.begin(), buttons.end(), this), buttons.end());
    toolBar_ = nullptr;
  }
  if (auto* toolBar = dynamic_cast<TToolBar*>(parent)) {
    toolBar_ = toolBar;
    toolBar->buttons_.push_back(this);
  }
  TGraphicControl::SetParent(parent);
}

int TToolButton::Index() const {
  if (toolBar_ == nullptr) return -1;
  const auto& buttons = toolBar_->buttons_;
  return static_cast<int>(std::find(buttons.begin(), buttons.end(), this) - buttons.begin());
}

void TToolButton::SetBounds(int left, int top, int width, int height) {
  if (toolBar_ == nullptr || !toolBar_->laying_) ownWidth_ = width;
  TGraphicControl::SetBounds(left, top, width, height);
}

void TToolButton::SetStyle(TToolButtonStyle style) {
  if (style == style_) return;
  style_ = style;
  // A resource gives a separator's width before its style.
  if (IsSeparator(style) && !IsLoading()) SetWidth(kSeparatorWidth);
  Relayout();
}

void TToolButton::SetDown(bool value) {
  if (value == down_) return;
  down_ = value;
  if (down_ && grouped_ && style_ == TToolButtonStyle::tbsCheck)
    for (TToolButton* other : Group())
      if (other != this) other->down_ = false;
}

// The run of grouped check buttons around this one, in bar order.
std::vector<TToolButton*> TToolButton::Group() {
  if (toolBar_ == nullptr) return {this};
  const auto& buttons = toolBar_->buttons_;
  const auto grouped = [](const TToolButton* b) {
    return b->grouped_ && b->style_ == TToolButtonStyle::tbsCheck;
  };
  auto first = std::find(buttons.begin(), buttons.end(), this);
  auto last = first;
  while (first != buttons.begin() && grouped(*(first - 1)))
    --first;
  while (last + 1 != buttons.end() && grouped(*(last + 1)))
    ++last;
  return {first, last + 1};
}

void TToolButton::SetWrap(bool value) {
  wrap_ = value;
  Relayout();
}

TPopupMenu* TToolButton::DropdownMenu() const {
  return dropdownMenu_.get();
}

void TToolButton::SetDropdownMenu(TPopupMenu* menu) {
  dropdownMenu_ = menu;
}

TMenuItem* TToolButton::MenuItem() const {
  return menuItem_.get();
}

void TToolButton::SetMenuItem(TMenuItem* item) {
  menuItem_ = item;
  if (item == nullptr) return;
  SetCaption(item->Caption());
  SetDown(item->Checked());
  SetEnabled(item->Enabled());
  SetHint(item->Hint());
  SetImageIndex(item->ImageIndex());
  SetVisible(item->Visible());
}

void TToolButton::Click() {
  if (style_ == TToolButtonStyle::tbsCheck) {
    if (!down_)
      SetDown(true);
    else if (!grouped_ || allowAllUp_)
      SetDown(false);
  }
  if (OnClick)
    TGraphicControl::Click();
  else if (TMenuItem* item = menuItem_.get())
    item->Click();
}

bool TToolButton::CheckMenuDropdown() {
  TPopupMenu* menu = dropdownMenu_.get();
  if (menu == nullptr) return false;
  const TRect screen = BoundsIn(nullptr);
  menu->SetPopupComponent(this);
  menu->Popup(screen.Left, screen.Bottom);
  return true;
}

void TToolButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  const bool onArrow = button == TMouseButton::mbLeft && style_ == TToolButtonStyle::tbsDropDown &&
                       Enabled() && x >= Width() - kDropDownArrowWidth;
  if (!onArrow) return TGraphicControl::MouseDown(button, shift, x, y);
  // Not passed on to the click tracking: the release makes no click.
  OnMouseDown(this, button, shift, x, y);
  CheckMenuDropdown();
}

void TToolButton::TextChanged() {
  Relayout();
}

void TToolButton::Relayout() {
  if (toolBar_ != nullptr) toolBar_->AlignControls();
}

// ---- TToolBar --------------------------------------------------------------

const ClassInfo& TToolBar::StaticClassInfo() {
  using T = TToolBar;
  static const ClassInfo info =
      ClassBuilder<T>("TToolBar", &TWinControl::StaticClassInfo())
          .creatable()
          .enumeration("Align", &T::Align, &T::SetAlign, AlignNames())
          .defaultValue(static_cast<int>(TAlign::alTop))
          .property("AutoSize", &T::AutoSize, &T::SetAutoSize)
          .defaultValue(0)
          .property("ButtonHeight", &T::ButtonHeight, &T::SetButtonHeight)
          .defaultValue(22)
          .property("ButtonWidth", &T::ButtonWidth, &T::SetButtonWidth)
          .defaultValue(23)
          .object<TCustomImageList>("DisabledImages", &T::DisabledImages, &T::SetDisabledImages)
          .set("EdgeBorders", &T::EdgeBorders, &T::SetEdgeBorders, kEdgeBorderNames)
          .defaultValue(ebTop)
          .enumeration("EdgeInner", &T::EdgeInner, &T::SetEdgeInner, kEdgeStyleNames)
          .defaultValue(static_cast<int>(TEdgeStyle::esRaised))
          .enumeration("EdgeOuter", &T::EdgeOuter, &T::SetEdgeOuter, kEdgeStyleNames)
          .defaultValue(static_cast<int>(TEdgeStyle::esLowered))
          .property("Flat", &T::Flat, &T::SetFlat)
          .defaultValue(0)
          .object<TCustomImageList>("HotImages", &T::HotImages, &T::SetHotImages)
          .object<TCustomImageList>("Images", &T::Images, &T::SetImages)
          .property("Indent", &T::Indent, &T::SetIndent)
          .defaultValue(0)
          .property("List", &T::List, &T::SetList)
          .defaultValue(0)
          .property("ShowCaptions", &T::ShowCaptions, &T::SetShowCaptions)
          .defaultValue(0)
          .property("Transparent", &T::Transparent, &T::SetTransparent)
          .defaultValue(0)
          .property("Wrapable", &T::Wrapable, &T::SetWrapable)
          .defaultValue(1)
          .build();
  return info;
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 150, 29);
  SetAlign(TAlign::alTop);
}

TToolBar::~TToolBar() {
  // The buttons stay alive (their owner frees them) but leave the bar.
  for (TToolButton* button : buttons_)
    button->toolBar_ = nullptr;
  buttons_.clear();
}

TToolButton* TToolBar::Buttons(int index) const {
  if (index < 0 || index >= ButtonCount())
    throw EListError("Button index out of bounds (" + std::to_string(index) + ")");
  return buttons_[static_cast<std::size_t>(index)];
}

void TToolBar::SetButtonWidth(int value) {
  buttonWidth_ = std::clamp(value, 0, kMaxExtent);
  AlignControls();
}

void TToolBar::SetButtonHeight(int value) {
  buttonHeight_ = std::clamp(value, 0, kMaxExtent);
  AlignControls();
}

void TToolBar::SetShowCaptions(bool value) {
  showCaptions_ = value;
  AlignControls();
}

void TToolBar::SetIndent(int value) {
  indent_ = std::clamp(value, 0, kMaxExtent);
  AlignControls();
}

void TToolBar::SetWrapable(bool value) {
  wrapable_ = value;
  AlignControls();
}

TCustomImageList* TToolBar::Images() const {
  return images_.get();
}
void TToolBar::SetImages(TCustomImageList* images) {
  images_ = images;
}
TCustomImageList* TToolBar::HotImages() const {
  return hotImages_.get();
}
void TToolBar::SetHotImages(TCustomImageList* images) {
  hotImages_ = images;
}
TCustomImageList* TToolBar::DisabledImages() const {
  return disabledImages_.get();
}
void TToolBar::SetDisabledImages(TCustomImageList* images) {
  disabledImages_ = images;
}

int TToolBar::CommonButtonWidth() const {
  if (!showCaptions_) return buttonWidth_;
  TCanvas canvas;
  canvas.Font().Assign(*Font());
  int width = buttonWidth_;
  for (const TToolButton* button : buttons_)
    if (!IsSeparator(button->style_))
      width = std::max(
          width, std::min(canvas.TextWidth(button->Caption()), kMaxExtent) + 2 * kCaptionPadding);
  return std::min(width, kMaxExtent);
}

void TToolBar::AlignControls() {
  TWinControl::AlignControls();
  // Placing a button asks its parent to align again; one pass places them all.
  if (laying_) return;
  laying_ = true;
  struct LayoutEnd {
    bool& laying;
    ~LayoutEnd() { laying = false; }
  } layoutEnd{laying_};
  const int common = CommonButtonWidth();
  int x = indent_;
  int y = 0;
  for (TToolButton* button : std::vector<TToolButton*>(buttons_)) {
    if (!button->Visible()) continue;
    int width = IsSeparator(button->style_) ? std::min(button->ownWidth_, kMaxExtent) : common;
    if (button->style_ == TToolButtonStyle::tbsDropDown) width += kDropDownArrowWidth;
    if (wrapable_ && x > indent_ && x + width > ClientWidth()) {
      x = indent_;
      y += buttonHeight_;
    }
    button->SetBounds(x, y, width, buttonHeight_);
    x += width;
    if (button->wrap_) {
      x = indent_;
      y += buttonHeight_;
    }
  }
}

bool TToolBar::DialogChar(char key, TShiftState shift) {
  if (Enabled() && Showing() && showCaptions_)
    for (TToolButton* button : buttons_) {
      if (!button->Visible() || !button->Enabled() || !IsAccel(key, button->Caption())) continue;
      if (button->style_ != TToolButtonStyle::tbsDropDown && button->CheckMenuDropdown())
        return true;
      button->Click();
      return true;
    }
  return TWinControl::DialogChar(key, shift);
}

}  // namespace ox
