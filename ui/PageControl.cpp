#include "ui/PageControl.h"

#include <algorithm>

#include "ui/Forms.h"
#include "ui/ImageList.h"

namespace ox {

namespace {

constexpr int kTabMargin = 2;       // between the control's edge and the first tab
constexpr int kTabPadding = 6;      // on each side of a caption
constexpr int kImageSpacing = 3;    // between a tab's image and its caption
constexpr int kFrameWidth = 4;      // the border around the pages
constexpr int kHeightPadding = 5;   // a tab's height beyond its caption's
constexpr int kMaxTabSide = 32767;  // tab sizes are 16-bit on the platform

const std::vector<std::string> kTabPositionNames{"tpTop", "tpBottom", "tpLeft", "tpRight"};
const std::vector<std::string> kTabStyleNames{"tsTabs", "tsButtons", "tsFlatButtons"};

TSize TextSize(const TFont& font, std::string_view text) {
  TCanvas canvas;
  canvas.Font().Assign(font);
  return canvas.TextExtent(text);
}

}  // namespace

// ---- TCustomTabControl -----------------------------------------------------

const ClassInfo& TCustomTabControl::StaticClassInfo() {
  using T = TCustomTabControl;
  static const ClassInfo info =
      ClassBuilder<T>("TCustomTabControl", &TWinControl::StaticClassInfo())
          .property("HotTrack", &T::HotTrack, &T::SetHotTrack)
          .defaultValue(0)
          .object<TCustomImageList>("Images", &T::Images, &T::SetImages)
          .property("MultiLine", &T::MultiLine, &T::SetMultiLine)
          .defaultValue(0)
          .property("OwnerDraw", &T::OwnerDraw, &T::SetOwnerDraw)
          .defaultValue(0)
          .property("RaggedRight", &T::RaggedRight, &T::SetRaggedRight)
          .defaultValue(0)
          .property("ScrollOpposite", &T::ScrollOpposite, &T::SetScrollOpposite)
          .defaultValue(0)
          .enumeration("Style", &T::Style, &T::SetStyle, kTabStyleNames)
          .defaultValue(0)
          .property("TabHeight", &T::TabHeight, &T::SetTabHeight)
          .defaultValue(0)
          .property("TabIndex", &T::TabIndex, &T::SetTabIndex)
          .defaultValue(-1)
          .enumeration("TabPosition", &T::TabPosition, &T::SetTabPosition, kTabPositionNames)
          .defaultValue(0)
          .property("TabWidth", &T::TabWidth, &T::SetTabWidth)
          .defaultValue(0)
          .event("OnChange", &T::OnChange)
          .event("OnChanging", &T::OnChanging)
          .event("OnDrawTab", &T::OnDrawTab)
          .build();
  return info;
}

TCustomTabControl::TCustomTabControl(TComponent* owner)
    : TWinControl(owner), canvas_(std::make_unique<TCanvas>()) {
  SetTabStop(true);
}

TCustomTabControl::~TCustomTabControl() = default;

void TCustomTabControl::SetMultiLine(bool value) {
  multiLine_ = value;
  AlignControls();
}

void TCustomTabControl::SetTabHeight(int value) {
  tabHeight_ = std::clamp(value, 0, kMaxTabSide);
  AlignControls();
}

void TCustomTabControl::SetTabWidth(int value) {
  tabWidth_ = std::clamp(value, 0, kMaxTabSide);
  AlignControls();
}

TCustomImageList* TCustomTabControl::Images() const {
  return images_.get();
}

void TCustomTabControl::SetImages(TCustomImageList* images) {
  images_ = images;
  AlignControls();
}

TSize TCustomTabControl::TabSize() const {
  const int text = std::min(TextSize(*Font(), "").cy, kMaxTabSide);
  const int height = tabHeight_ > 0 ? tabHeight_ : text + kHeightPadding;
  if (tabWidth_ > 0) return {tabWidth_, height};
  int caption = 0;
  for (int tab = 0; tab < TabCount(); ++tab)
    caption = std::max(caption, std::min(TextSize(*Font(), TabCaption(tab)).cx, kMaxTabSide));
  const int image = images_ ? images_->Width() + kImageSpacing : 0;
  return {std::min(caption + 2 * kTabPadding, kMaxTabSide) + image, height};
}

int TCustomTabControl::TabsPerRow() const {
  if (!multiLine_) return std::max(TabCount(), 1);
  return std::max((ClientWidth() - 2 * kTabMargin) / TabSize().cx, 1);
}

TRect TCustomTabControl::TabRect(int tabIndex) const {
  if (tabIndex < 0 || tabIndex >= TabCount()) return {};
  const TSize size = TabSize();
  const int perRow = TabsPerRow();
  const int left = kTabMargin + (tabIndex % perRow) * size.cx;
  const int top = kTabMargin + (tabIndex / perRow) * size.cy;
  return {left, top, left + size.cx, top + size.cy};
}

int TCustomTabControl::IndexOfTabAt(int x, int y) const {
  for (int tab = 0; tab < TabCount(); ++tab)
    if (TabRect(tab).Contains(x, y)) return tab;
  return -1;
}

TRect TCustomTabControl::DisplayRect() const {
  const int perRow = TabsPerRow();
  const int rows = std::max((TabCount() + perRow - 1) / perRow, 1);
  const int top = kTabMargin + rows * TabSize().cy + kFrameWidth;
  return {kFrameWidth, top, std::max(ClientWidth() - kFrameWidth, kFrameWidth),
          std::max(ClientHeight() - kFrameWidth, top)};
}

TCanvas& TCustomTabControl::Canvas() {
  return painting_ != nullptr ? *painting_ : *canvas_;
}

void TCustomTabControl::Paint(TCanvas& canvas) {
  if (!ownerDraw_) return;
  painting_ = &canvas;
  struct PaintEnd {
    TCanvas*& painting;
    ~PaintEnd() { painting = nullptr; }
  } paintEnd{painting_};
  canvas.Font().Assign(*Font());
  canvas.Brush().SetColor(Color());
  for (int tab = 0; tab < TabCount(); ++tab)
    DrawTab(tab, TabRect(tab), tab == TabIndex());
}

void TCustomTabControl::DrawTab(int tabIndex, const TRect& rect, bool active) {
  if (OnDrawTab)
    OnDrawTab(this, tabIndex, rect, active);
  else
    Canvas().FillRect(rect);
}

bool TCustomTabControl::CanChange() {
  bool allowChange = true;
  OnChanging(this, allowChange);
  return allowChange;
}

void TCustomTabControl::Change() {
  OnChange(this);
}

void TCustomTabControl::SelectTabByUser(int tabIndex) {
  if (tabIndex < 0 || tabIndex >= TabCount() || tabIndex == TabIndex() || !CanChange()) return;
  SetTabIndex(tabIndex);
  Change();
}

void TCustomTabControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  const int tab = IndexOfTabAt(x, y);
  if (button == TMouseButton::mbLeft && tab >= 0) {
    // The tab strip takes the focus on the press, before the selection changes.
    if (const TCustomForm* form = ParentForm(); form != nullptr && form->Visible() && CanFocus())
      SetFocus();
    SelectTabByUser(tab);
  }
  TWinControl::MouseDown(button, shift, x, y);
}

bool TCustomTabControl::WantsKey(std::uint16_t key, TShiftState shift) const {
  return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN ||
         TWinControl::WantsKey(key, shift);
}

void TCustomTabControl::DefaultKeyDown(std::uint16_t key, TShiftState shift) {
  if (key == VK_LEFT || key == VK_UP)
    SelectTabByUser(TabIndex() - 1);
  else if (key == VK_RIGHT || key == VK_DOWN)
    SelectTabByUser(TabIndex() + 1);
  else
    TWinControl::DefaultKeyDown(key, shift);
}

// ---- TTabSheet -------------------------------------------------------------

const ClassInfo& TTabSheet::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TTabSheet>("TTabSheet", &TWinControl::StaticClassInfo())
          .creatable()
          .enumeration("Align", &TTabSheet::Align, &TTabSheet::SetAlign, AlignNames())
          .defaultValue(static_cast<int>(TAlign::alClient))
          .object<TPageControl>("PageControl", &TTabSheet::PageControl, &TTabSheet::SetPageControl)
          .property("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex)
          .property("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible)
          .defaultValue(1)
          .property("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex)
          .defaultValue(0)
          .property("Highlighted", &TTabSheet::Highlighted, &TTabSheet::SetHighlighted)
          .defaultValue(0)
          .event("OnShow", &TTabSheet::OnShow)
          .event("OnHide", &TTabSheet::OnHide)
          .build();
  return info;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  InitVisible(false);  // until its page control shows it
  SetAlign(TAlign::alClient);
}

TTabSheet::~TTabSheet() {
  SetParent(nullptr);
}

void TTabSheet::SetParent(TWinControl* parent) {
  if (parent == Parent()) return;
  // The page leaves its page control while still its child, so the focus can move out.
  if (TPageControl* old = pageControl_) {
    old->RemovePage(this);
    pageControl_ = nullptr;
  }
  TWinControl::SetParent(parent);
  if (auto* pageControl = dynamic_cast<TPageControl*>(parent)) {
    pageControl_ = pageControl;
    pageControl->InsertPage(this);
  }
}

void TTabSheet::SetPageControl(TPageControl* pageControl) {
  SetParent(pageControl);
}

void TTabSheet::SetParentComponent(TComponent* parent) {
  if (auto* windowed = dynamic_cast<TWinControl*>(parent)) SetParent(windowed);
}

int TTabSheet::PageIndex() const {
  if (pageControl_ == nullptr) return -1;
  const auto& pages = pageControl_->pages_;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int index) {
  if (pageControl_ != nullptr) pageControl_->MovePage(this, index);
}

int TTabSheet::TabIndex() const {
  if (pageControl_ == nullptr || !tabVisible_) return -1;
  int tab = 0;
  for (const TTabSheet* page : pageControl_->pages_) {
    if (page == this) return tab;
    if (page->tabVisible_) ++tab;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool value) {
  if (value == tabVisible_) return;
  const int oldTabIndex = TabIndex();
  tabVisible_ = value;
  if (pageControl_ != nullptr) pageControl_->TabVisibilityChanged(this, oldTabIndex);
}

void TTabSheet::VisibleChanged() {
  TWinControl::VisibleChanged();
  if (Parent() == nullptr || !Parent()->Showing()) return;
  if (Visible())
    OnShow(this);
  else
    OnHide(this);
}

// ---- TPageControl ----------------------------------------------------------

const ClassInfo& TPageControl::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TPageControl>("TPageControl", &TCustomTabControl::StaticClassInfo())
          .creatable()
          .object<TTabSheet>("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage)
          .build();
  return info;
}

// Sized here, not in the tab strip's constructor: the layout asks for the tabs.
TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {
  SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl() {
  // The pages stay alive (their owner frees them) but are no longer pages.
  for (TTabSheet* page : pages_)
    page->pageControl_ = nullptr;
  pages_.clear();
  activePage_ = nullptr;
}

TTabSheet* TPageControl::Pages(int index) const {
  if (index < 0 || index >= PageCount())
    throw EListError("Page index out of bounds (" + std::to_string(index) + ")");
  return pages_[static_cast<std::size_t>(index)];
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page == activePage_ || (page != nullptr && page->pageControl_ != this)) return;
  TTabSheet* old = activePage_;
  TCustomForm* form = ParentForm();
  if (form != nullptr && old != nullptr && old->ContainsControl(form->ActiveControl())) {
    form->SetActiveControl(old);
    if (form->ActiveControl() != old) return;
  }
  if (page != nullptr) {
    page->SetVisible(true);
    if (form != nullptr && old != nullptr && form->ActiveControl() == old)
      form->SetActiveControl(page->CanFocus() ? static_cast<TWinControl*>(page) : this);
  }
  if (old != nullptr) old->SetVisible(false);
  activePage_ = page;
  if (form != nullptr && page != nullptr && form->ActiveControl() == page) SelectFirst(page);
}

// Focuses the first control of the page's tab order, preferring tab stops.
void TPageControl::SelectFirst(TTabSheet* page) {
  TCustomForm* form = ParentForm();
  const std::vector<TWinControl*> order = page->TabOrderList();
  for (const bool needTabStop : {true, false})
    for (TWinControl* control : order)
      if (control->CanFocus() && (!needTabStop || control->TabStop()))
        return form->SetActiveControl(control);
}

int TPageControl::ActivePageIndex() const {
  return activePage_ != nullptr ? activePage_->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int index) {
  SetActivePage(index >= 0 && index < PageCount() ? Pages(index) : nullptr);
}

TTabSheet* TPageControl::PageForTab(int tabIndex) const {
  if (tabIndex < 0) return nullptr;
  for (TTabSheet* page : pages_)
    if (page->tabVisible_ && tabIndex-- == 0) return page;
  return nullptr;
}

TTabSheet* TPageControl::FindNextPage(const TTabSheet* current, bool goForward,
                                      bool checkTabVisible) const {
  const int count = PageCount();
  if (count == 0) return nullptr;
  const auto found = std::find(pages_.begin(), pages_.end(), current);
  int start = static_cast<int>(found - pages_.begin());
  if (found == pages_.end()) start = goForward ? count - 1 : 0;
  int index = start;
  do {
    index = (index + (goForward ? 1 : count - 1)) % count;
    TTabSheet* page = pages_[static_cast<std::size_t>(index)];
    if (!checkTabVisible || page->tabVisible_) return page;
  } while (index != start);
  return nullptr;
}

void TPageControl::SelectNextPage(bool goForward, bool checkTabVisible) {
  TTabSheet* page = FindNextPage(activePage_, goForward, checkTabVisible);
  if (page == nullptr || page == activePage_ || !CanChange()) return;
  SetActivePage(page);
  Change();
}

int TPageControl::TabCount() const {
  return static_cast<int>(std::count_if(pages_.begin(), pages_.end(),
                                        [](const TTabSheet* p) { return p->tabVisible_; }));
}

std::string TPageControl::TabCaption(int tabIndex) const {
  const TTabSheet* page = PageForTab(tabIndex);
  return page != nullptr ? page->Caption() : std::string();
}

int TPageControl::TabIndex() const {
  return activePage_ != nullptr ? activePage_->TabIndex() : -1;
}

void TPageControl::SetTabIndex(int tabIndex) {
  if (IsLoading()) loadedTabIndex_ = tabIndex;
  if (TTabSheet* page = PageForTab(tabIndex)) SetActivePage(page);
}

void TPageControl::Loaded() {
  TCustomTabControl::Loaded();
  if (loadedTabIndex_ >= 0) SetTabIndex(loadedTabIndex_);
  loadedTabIndex_ = -1;
}

bool TPageControl::DialogKey(std::uint16_t key, TShiftState shift) {
  const TCustomForm* form = ParentForm();
  if (key == VK_TAB && (shift & ssCtrl) != 0 && (shift & ssAlt) == 0 && form != nullptr &&
      ContainsControl(form->ActiveControl())) {
    SelectNextPage((shift & ssShift) == 0);
    return true;
  }
  return TCustomTabControl::DialogKey(key, shift);
}

void TPageControl::InsertPage(TTabSheet* page) {
  pages_.push_back(page);
  AlignControls();
  // The first tab of an empty strip is selected.
  if (activePage_ == nullptr && page->tabVisible_ && TabCount() == 1) SetActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
  if (page == activePage_) {
    TTabSheet* next = FindNextPage(page, true, true);
    SetActivePage(next != page ? next : nullptr);
  }
  pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
  if (activePage_ == page) {
    // The focus could not leave it: it goes with the page all the same.
    page->SetVisible(false);
    activePage_ = nullptr;
  }
  AlignControls();
}

void TPageControl::MovePage(TTabSheet* page, int index) {
  const auto found = std::find(pages_.begin(), pages_.end(), page);
  if (found == pages_.end()) return;
  pages_.erase(found);
  index = std::clamp(index, 0, PageCount());
  pages_.insert(pages_.begin() + index, page);
}

void TPageControl::TabVisibilityChanged(TTabSheet* page, int oldTabIndex) {
  AlignControls();
  if (page == activePage_ && !page->tabVisible_)
    ActivateTabNear(oldTabIndex);
  else if (activePage_ == nullptr && page->tabVisible_ && TabCount() == 1)
    SetActivePage(page);
}

void TPageControl::ActivateTabNear(int tabIndex) {
  TTabSheet* page = PageForTab(std::min(tabIndex, TabCount() - 1));
  SetActivePage(page);
}

}  // namespace ox
