// Page controls: a strip of tabs above a stack of tab sheets, of which only the active
// one is visible. A person changes the page by clicking a tab, by the arrow keys on the
// focused tab strip, or by Ctrl+Tab / Ctrl+Shift+Tab anywhere inside the control: the
// change is first offered to OnChanging and then reported by OnChange. Code that sets
// ActivePage fires neither.
//
// The tab strip is modelled as one or more rows of tabs of equal width along the top:
// TabWidth wide (when 0, wide enough for the widest caption) and TabHeight high (when
// 0, from the font). Owner-drawn tabs are painted by DrawTab, one call per tab.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/Canvas.h"
#include "ui/Controls.h"

namespace ox {

class TCustomTabControl;
class TCustomImageList;
class TPageControl;

enum class TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum class TTabStyle { tsTabs, tsButtons, tsFlatButtons };

// OnChanging: clear AllowChange to keep the current tab.
using TTabChangingEvent = Event<TObject*, bool&>;
// OnDrawTab: draw tab `tabIndex` (counting visible tabs) into `rect` of the control's
// Canvas; `active` for the selected tab.
using TDrawTabEvent = Event<TCustomTabControl*, int, const TRect&, bool>;

// The tab strip: geometry, painting and input of the tabs. Descendants say how many
// tabs there are, what they read and which one is selected.
class TCustomTabControl : public TWinControl {
 public:
  OX_CLASS_INFO()
  explicit TCustomTabControl(TComponent* owner);
  ~TCustomTabControl() override;

  virtual int TabCount() const = 0;
  virtual std::string TabCaption(int tabIndex) const = 0;
  // The selected tab, or -1; setting it from code fires no event.
  virtual int TabIndex() const = 0;
  virtual void SetTabIndex(int tabIndex) = 0;

  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool value);
  TTabPosition TabPosition() const { return tabPosition_; }
  void SetTabPosition(TTabPosition value) { tabPosition_ = value; }
  TTabStyle Style() const { return style_; }
  void SetStyle(TTabStyle value) { style_ = value; }
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool value) { ownerDraw_ = value; }
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool value) { hotTrack_ = value; }
  bool RaggedRight() const { return raggedRight_; }
  void SetRaggedRight(bool value) { raggedRight_ = value; }
  bool ScrollOpposite() const { return scrollOpposite_; }
  void SetScrollOpposite(bool value) { scrollOpposite_ = value; }
  int TabHeight() const { return tabHeight_; }
  void SetTabHeight(int value);
  int TabWidth() const { return tabWidth_; }
  void SetTabWidth(int value);
  TCustomImageList* Images() const;
  void SetImages(TCustomImageList* images);

  // The rectangle of a tab in client coordinates; empty for an index outside the tabs.
  TRect TabRect(int tabIndex) const;
  // The tab at a point of the client area, or -1.
  int IndexOfTabAt(int x, int y) const;
  // The area below the tabs that the pages fill.
  TRect DisplayRect() const;

  // Where owner drawing draws: the canvas of the paint in progress, else one of the
  // control's own.
  TCanvas& Canvas();
  // Owner-drawn tabs are painted one by one through DrawTab; other tabs are the
  // platform's to paint.
  void Paint(TCanvas& canvas) override;
  // Paints one owner-drawn tab: OnDrawTab when assigned, else fills the rectangle.
  virtual void DrawTab(int tabIndex, const TRect& rect, bool active);

  TTabChangingEvent OnChanging;
  TNotifyEvent OnChange;
  TDrawTabEvent OnDrawTab;

 protected:
  // Asks OnChanging whether the selection may change.
  virtual bool CanChange();
  virtual void Change();
  // A person selects a tab: OnChanging, then the change and OnChange.
  void SelectTabByUser(int tabIndex);

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  bool WantsKey(std::uint16_t key, TShiftState shift) const override;
  void DefaultKeyDown(std::uint16_t key, TShiftState shift) override;
  // Aligned children (the pages) fill the display area.
  void AdjustClientRect(TRect& rect) const override { rect = DisplayRect(); }

 private:
  TSize TabSize() const;
  int TabsPerRow() const;

  bool multiLine_ = false;
  TTabPosition tabPosition_ = TTabPosition::tpTop;
  TTabStyle style_ = TTabStyle::tsTabs;
  bool ownerDraw_ = false;
  bool hotTrack_ = false;
  bool raggedRight_ = false;
  bool scrollOpposite_ = false;
  int tabHeight_ = 0;
  int tabWidth_ = 0;
  ComponentRef<TCustomImageList> images_;
  std::unique_ptr<TCanvas> canvas_;
  TCanvas* painting_ = nullptr;
};

// One page of a page control, aligned to fill its display area.
class TTabSheet : public TWinControl {
 public:
  OX_CLASS_INFO()
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return pageControl_; }
  // Moves the sheet to another page control (as its last page), or out of one.
  void SetPageControl(TPageControl* pageControl);
  // A page control as parent makes the sheet one of its pages.
  void SetParent(TWinControl* parent) override;
  void SetParentComponent(TComponent* parent) override;

  // The position among the pages; setting it moves the page (clamped to the pages).
  int PageIndex() const;
  void SetPageIndex(int index);
  // The position of the sheet's tab among the visible tabs, or -1 when hidden.
  int TabIndex() const;
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value) { imageIndex_ = value; }
  bool Highlighted() const { return highlighted_; }
  void SetHighlighted(bool value) { highlighted_ = value; }

  // The sheet appears (becomes visible while its page control shows) or disappears.
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

 protected:
  void VisibleChanged() override;

 private:
  friend class TPageControl;

  TPageControl* pageControl_ = nullptr;
  bool tabVisible_ = true;
  int imageIndex_ = 0;
  bool highlighted_ = false;
};

class TPageControl : public TCustomTabControl {
 public:
  OX_CLASS_INFO()
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;

  int PageCount() const { return static_cast<int>(pages_.size()); }
  // Raises EListError for an index outside the pages.
  TTabSheet* Pages(int index) const;
  TTabSheet* ActivePage() const { return activePage_; }
  // Shows `page` (a page of this control, or null) and hides the one before, moving
  // the focus out of the page left behind; fires no change event. An OnExit that keeps
  // the focus in the old page keeps that page.
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);
  // The page whose tab is at that position among the visible tabs, or null.
  TTabSheet* PageForTab(int tabIndex) const;
  // The page after (or before) `current`, wrapping around; with `checkTabVisible` only
  // pages whose tab is visible. Null when there is none.
  TTabSheet* FindNextPage(const TTabSheet* current, bool goForward, bool checkTabVisible) const;
  // Moves to the next (or previous) page as a person does: OnChanging, then OnChange.
  void SelectNextPage(bool goForward, bool checkTabVisible = true);

  int TabCount() const override;
  std::string TabCaption(int tabIndex) const override;
  int TabIndex() const override;
  void SetTabIndex(int tabIndex) override;

  // Ctrl+Tab and Ctrl+Shift+Tab while the focus is inside the control.
  bool DialogKey(std::uint16_t key, TShiftState shift) override;
  void Loaded() override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void MovePage(TTabSheet* page, int index);
  void TabVisibilityChanged(TTabSheet* page, int oldTabIndex);
  // Activates the page whose tab is at the position, else the last tab's, else none.
  void ActivateTabNear(int tabIndex);
  void SelectFirst(TTabSheet* page);

  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
  int loadedTabIndex_ = -1;  // a TabIndex read before the pages exist
};

}  // namespace ox
