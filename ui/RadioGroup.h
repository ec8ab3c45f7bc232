// The radio group: a group box that makes one radio button per line of Items, laid
// out in Columns, and keeps ItemIndex equal to the checked button (-1: none). Setting
// ItemIndex checks its button; a button that becomes checked, by the person or by
// code, fires the group's OnClick. Keys typed on a button reach the group's key events.
#pragma once

#include <memory>
#include <vector>

#include "ui/GroupBox.h"
#include "ui/RadioButton.h"

namespace ox {

class TRadioGroup;

// A radio button made by a group: keys typed on it that it did not consume reach the
// group's key events. `Button` is the radio button class the group makes.
template <typename Button>
class GroupButtonOf : public Button {
 public:
  explicit GroupButtonOf(TRadioGroup* group) : Button(group), group_(group) {}

  void KeyDown(std::uint16_t& key, TShiftState shift) override;
  void KeyPress(char& key) override;

 private:
  TRadioGroup* group_;
};

// A button of a radio group: owned by the group, invisible until arranged, enabled
// with the group, reporting its clicks to the group.
class TGroupButton : public GroupButtonOf<TRadioButton> {
 public:
  OX_CLASS_INFO()
  using GroupButtonOf::GroupButtonOf;
};

class TRadioGroup : public TCustomGroupBox {
 public:
  OX_CLASS_INFO()
  explicit TRadioGroup(TComponent* owner);

  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* items);
  int ItemIndex() const { return itemIndex_; }
  // Checks the button of that index (clamped to -1 .. the last), which fires OnClick;
  // -1 unchecks the checked one without an event.
  void SetItemIndex(int index);
  int Columns() const { return columns_; }
  void SetColumns(int columns);  // 1 .. 16
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TRadioButton* Buttons(int index) const;

  void SetEnabled(bool enabled) override;
  void Loaded() override;

 protected:
  // Makes the button of one item; a descendant may use its own button class.
  virtual TRadioButton* CreateButton();
  void BoundsChanged() override;
  void FontChanged() override;

 private:
  void ItemsChanged(TObject* sender);
  void ButtonClicked(TObject* sender);
  void UpdateButtons();
  void ArrangeButtons();

  std::unique_ptr<TStringList> items_;
  std::vector<TRadioButton*> buttons_;  // owned as components of the group
  int itemIndex_ = -1;
  int columns_ = 1;
  bool updating_ = false;  // checking a button while the items change is no click
};

template <typename Button>
void GroupButtonOf<Button>::KeyDown(std::uint16_t& key, TShiftState shift) {
  Button::KeyDown(key, shift);
  if (key != 0) group_->KeyDown(key, shift);
}

template <typename Button>
void GroupButtonOf<Button>::KeyPress(char& key) {
  Button::KeyPress(key);
  if (key != 0) group_->KeyPress(key);
}

}  // namespace ox
