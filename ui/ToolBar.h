// Tool bars and their buttons. Buttons are laid out left to right in the order they
// joined the bar, ButtonWidth × ButtonHeight each (separators and dividers as wide as
// their Width, drop-down buttons wider by their arrow), wrapping to a new row when the
// bar is too narrow (Wrapable) or after a button with Wrap.
#pragma once

#include <string>
#include <vector>

#include "ui/Controls.h"

namespace ox {

class TCustomImageList;
class TMenuItem;
class TPopupMenu;
class TToolBar;

enum class TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
enum class TEdgeStyle { esNone, esRaised, esLowered };
// EdgeBorders bits.
enum : int { ebLeft = 1, ebTop = 2, ebRight = 4, ebBottom = 8 };

class TToolButton : public TGraphicControl {
 public:
  OX_CLASS_INFO()
  explicit TToolButton(TComponent* owner);
  ~TToolButton() override;

  TToolBar* ToolBar() const { return toolBar_; }
  // A tool bar as parent makes the button its last button.
  void SetParent(TWinControl* parent) override;
  // The position among the bar's buttons, or -1.
  int Index() const;
  // The bar places its buttons; the width given otherwise is kept for separators.
  void SetBounds(int left, int top, int width, int height) override;

  TToolButtonStyle Style() const { return style_; }
  // A button that becomes a separator or divider in code takes the separator width.
  void SetStyle(TToolButtonStyle style);
  bool Down() const { return down_; }
  // Pressing a grouped check button down raises the others of its group.
  void SetDown(bool value);
  bool Grouped() const { return grouped_; }
  void SetGrouped(bool value) { grouped_ = value; }
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value) { allowAllUp_ = value; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value) { imageIndex_ = value; }
  bool Wrap() const { return wrap_; }
  void SetWrap(bool value);
  bool Indeterminate() const { return indeterminate_; }
  void SetIndeterminate(bool value) { indeterminate_ = value; }
  bool Marked() const { return marked_; }
  void SetMarked(bool value) { marked_ = value; }
  TPopupMenu* DropdownMenu() const;
  void SetDropdownMenu(TPopupMenu* menu);
  // The item gives the button its caption, check state, enabled state, hint, image and
  // visibility when assigned, and its click when the button has no OnClick.
  TMenuItem* MenuItem() const;
  void SetMenuItem(TMenuItem* item);

  // What a click on the button does: a check button goes down or up (a grouped one
  // stays down unless AllowAllUp), then OnClick, or the menu item's click.
  void Click() override;
  // Pops the drop-down menu up below the button; false when it has none.
  bool CheckMenuDropdown();

 protected:
  // A press on the arrow of a drop-down button drops its menu down instead of clicking.
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void TextChanged() override;

 private:
  friend class TToolBar;
  std::vector<TToolButton*> Group();
  void Relayout();

  TToolBar* toolBar_ = nullptr;
  int ownWidth_ = 23;  // the width given by code or a resource, not by the bar
  TToolButtonStyle style_ = TToolButtonStyle::tbsButton;
  bool down_ = false;
  bool grouped_ = false;
  bool allowAllUp_ = false;
  int imageIndex_ = -1;
  bool wrap_ = false;
  bool indeterminate_ = false;
  bool marked_ = false;
  ComponentRef<TPopupMenu> dropdownMenu_;
  ComponentRef<TMenuItem> menuItem_;
};

class TToolBar : public TWinControl {
 public:
  OX_CLASS_INFO()
  // Aligned to the top of its parent.
  explicit TToolBar(TComponent* owner);
  ~TToolBar() override;

  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  // Raises EListError for an index outside the buttons.
  TToolButton* Buttons(int index) const;

  int ButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(int value);
  int ButtonHeight() const { return buttonHeight_; }
  void SetButtonHeight(int value);
  // Captions widen every button to the widest caption.
  bool ShowCaptions() const { return showCaptions_; }
  void SetShowCaptions(bool value);
  int Indent() const { return indent_; }
  void SetIndent(int value);
  bool Wrapable() const { return wrapable_; }
  void SetWrapable(bool value);
  bool Flat() const { return flat_; }
  void SetFlat(bool value) { flat_ = value; }
  bool List() const { return list_; }
  void SetList(bool value) { list_ = value; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value) { transparent_ = value; }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value) { autoSize_ = value; }
  int EdgeBorders() const { return edgeBorders_; }
  void SetEdgeBorders(int value) { edgeBorders_ = value; }
  TEdgeStyle EdgeInner() const { return edgeInner_; }
  void SetEdgeInner(TEdgeStyle value) { edgeInner_ = value; }
  TEdgeStyle EdgeOuter() const { return edgeOuter_; }
  void SetEdgeOuter(TEdgeStyle value) { edgeOuter_ = value; }
  TCustomImageList* Images() const;
  void SetImages(TCustomImageList* images);
  TCustomImageList* HotImages() const;
  void SetHotImages(TCustomImageList* images);
  TCustomImageList* DisabledImages() const;
  void SetDisabledImages(TCustomImageList* images);

  // Alt plus the accelerator of a shown, enabled button's caption (with ShowCaptions)
  // clicks it, or drops down the menu of a plain button that has one.
  bool DialogChar(char key, TShiftState shift) override;

 protected:
  void AlignControls() override;

 private:
  friend class TToolButton;
  // The width of every button that is no separator: ButtonWidth, or the widest shown
  // caption.
  int CommonButtonWidth() const;

  std::vector<TToolButton*> buttons_;
  int buttonWidth_ = 23;
  int buttonHeight_ = 22;
  bool showCaptions_ = false;
  int indent_ = 0;
  bool wrapable_ = true;
  bool flat_ = false;
  bool list_ = false;
  bool transparent_ = false;
  bool autoSize_ = false;
  int edgeBorders_ = ebTop;
  TEdgeStyle edgeInner_ = TEdgeStyle::esRaised;
  TEdgeStyle edgeOuter_ = TEdgeStyle::esLowered;
  ComponentRef<TCustomImageList> images_;
  ComponentRef<TCustomImageList> hotImages_;
  ComponentRef<TCustomImageList> disabledImages_;
  bool laying_ = false;
};

}  // namespace ox
