// Tab sets: a row of tabs named by a string list, one of which is selected. Selecting a
// tab, by a click or from code, first asks OnChange (which may refuse) and then fires
// OnClick.
//
// The tabs are modelled left to right from StartMargin along the top, each as wide as
// its text plus the tab's edges, TabHeight high.
#pragma once

#include <memory>
#include <string>

#include "ui/Controls.h"

namespace ox {

// OnChange: the tab about to be selected; clear AllowChange to refuse it.
using TTabChangeEvent = Event<TObject*, int, bool&>;

class TTabSet : public TCustomControl {
 public:
  OX_CLASS_INFO()
  explicit TTabSet(TComponent* owner);
  ~TTabSet() override;

  TStrings* Tabs() const;
  void SetTabs(TStrings* tabs);
  int TabIndex() const { return tabIndex_; }
  // Selects a tab (-1: none) after OnChange agreed, then fires OnClick; raises
  // EListError for an index outside the tabs.
  void SetTabIndex(int index);
  int TabHeight() const { return tabHeight_; }
  void SetTabHeight(int value);
  int StartMargin() const { return startMargin_; }
  void SetStartMargin(int value);
  int EndMargin() const { return endMargin_; }
  void SetEndMargin(int value) { endMargin_ = value; }
  TColor SelectedColor() const { return selectedColor_; }
  void SetSelectedColor(TColor color) { selectedColor_ = color; }
  TColor UnselectedColor() const { return unselectedColor_; }
  void SetUnselectedColor(TColor color) { unselectedColor_ = color; }
  TColor BackgroundColor() const { return backgroundColor_; }
  void SetBackgroundColor(TColor color) { backgroundColor_ = color; }
  bool DitherBackground() const { return ditherBackground_; }
  void SetDitherBackground(bool value) { ditherBackground_ = value; }
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool value) { autoScroll_ = value; }

  // The rectangle of a tab; empty for an index outside the tabs.
  TRect TabRect(int index) const;
  // The tab at a point of the control, or -1.
  int ItemAtPos(int x, int y) const;

  TTabChangeEvent OnChange;

 protected:
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  // The tab list changed: a selection beyond its end moves to the last tab.
  void TabsChanged(TObject* sender);

  std::unique_ptr<TStringList> tabs_;
  int tabIndex_ = -1;
  int tabHeight_ = 20;
  int startMargin_ = 5;
  int endMargin_ = 15;
  TColor selectedColor_ = clBtnFace;
  TColor unselectedColor_ = clWindow;
  TColor backgroundColor_ = clBtnFace;
  bool ditherBackground_ = true;
  bool autoScroll_ = true;
};

}  // namespace ox
