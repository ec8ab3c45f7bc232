// Menus: items in a tree under a main or pop-up menu, with check marks, radio groups,
// short cuts and click events. Headless, a pop-up menu that pops up records the request
// (where, for which component) and stays open until one of its items is clicked (by a
// test or an automating host calling Click) or it is closed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/Classes.h"
#include "ui/Controls.h"

namespace ox {

class TMenu;
class TCustomImageList;

// An item inserted twice, or an index outside a menu.
class EMenuError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EMenuError"; }
};

// A key with its modifiers as one number: the virtual key in the low byte, the
// modifiers in the high bits.
using TShortCut = std::uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
TShortCut ShortCut(std::uint16_t key, TShiftState shift);

class TMenuItem : public TComponent {
 public:
  OX_CLASS_INFO()
  explicit TMenuItem(TComponent* owner);
  // Frees the sub-items and leaves the parent item.
  ~TMenuItem() override;

  // A caption of "-" makes the item a separator line.
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { caption_ = caption; }
  bool IsLine() const { return caption_ == "-"; }
  bool Checked() const { return checked_; }
  // Checking a radio item unchecks the radio items of its group among its siblings.
  void SetChecked(bool checked);
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool value);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value);
  bool AutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool value) { autoCheck_ = value; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  bool Visible() const { return visible_; }
  void SetVisible(bool value) { visible_ = value; }
  bool Default() const { return default_; }
  void SetDefault(bool value) { default_ = value; }
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut value) { shortCut_ = value; }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint) { hint_ = hint; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value) { imageIndex_ = value; }

  int Count() const { return static_cast<int>(items_.size()); }
  // Raises EMenuError for an index outside the sub-items.
  TMenuItem* Items(int index) const;
  // Adds a sub-item; raises EMenuError when it already has a parent.
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  // Takes the sub-item out of the menu without freeing it.
  void Delete(int index);
  void Remove(TMenuItem* item);
  // Frees every sub-item.
  void Clear();
  int IndexOf(const TMenuItem* item) const;
  TMenuItem* Parent() const { return parent_; }
  // The menu the item's tree belongs to, or null.
  TMenu* GetParentMenu() const;
  // The first item of the tree below (not counting this one) with that short cut.
  TMenuItem* FindShortCut(TShortCut shortCut) const;

  // What choosing the item does: nothing when disabled; else an open pop-up menu
  // closes, an AutoCheck item toggles (a checked radio item stays checked) and
  // OnClick runs.
  virtual void Click();
  TNotifyEvent OnClick;

  // Written inside a menu or an item, the item becomes its sub-item.
  void SetParentComponent(TComponent* parent) override;
  // The menu for a top-level item, else the parent item.
  TComponent* GetParentComponent() const override;

 private:
  friend class TMenu;
  void TurnSiblingsOff();

  std::string caption_;
  bool checked_ = false;
  bool radioItem_ = false;
  int groupIndex_ = 0;
  bool autoCheck_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  bool default_ = false;
  TShortCut shortCut_ = 0;
  std::string hint_;
  int imageIndex_ = -1;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on a menu's root item only
};

// A menu: the root item whose sub-items are the menu's items.
class TMenu : public TComponent {
 public:
  OX_CLASS_INFO()
  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  TMenuItem* Items() const { return items_.get(); }
  TCustomImageList* Images() const { return images_.get(); }
  void SetImages(TCustomImageList* images);
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool value) { ownerDraw_ = value; }

  // The key as a short cut of an item: the item (after its parents) is clicked when it
  // and its parents are enabled. True when an item has the short cut, enabled or not,
  // so the key is consumed.
  bool IsShortCut(std::uint16_t key, TShiftState shift);

 private:
  Owned<TMenuItem> items_;
  ComponentRef<TCustomImageList> images_;
  bool ownerDraw_ = false;
};

class TMainMenu : public TMenu {
 public:
  OX_CLASS_INFO()
  using TMenu::TMenu;
  bool AutoMerge() const { return autoMerge_; }
  void SetAutoMerge(bool value) { autoMerge_ = value; }

 private:
  bool autoMerge_ = false;
};

class TPopupMenu : public TMenu {
 public:
  OX_CLASS_INFO()
  using TMenu::TMenu;

  // Whether a right click on a control whose PopupMenu this is pops it up.
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool value) { autoPopup_ = value; }
  // The component the menu was last popped up for.
  TComponent* PopupComponent() const { return popupComponent_.get(); }
  void SetPopupComponent(TComponent* component) { popupComponent_ = component; }

  // Pops the menu up at a point of the screen: fires OnPopup, then the menu is open
  // until an item is clicked or CloseMenu is called.
  void Popup(int x, int y);
  void CloseMenu() { poppedUp_ = false; }
  bool PoppedUp() const { return poppedUp_; }
  // Where the menu was last popped up.
  TPoint PopupPoint() const { return popupPoint_; }

  TNotifyEvent OnPopup;

 private:
  bool autoPopup_ = true;
  ComponentRef<TComponent> popupComponent_;
  bool poppedUp_ = false;
  TPoint popupPoint_;
};

}  // namespace ox
