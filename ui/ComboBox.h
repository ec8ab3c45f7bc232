// The combo box. csDropDown and csSimple have an edit part: Text is edited as in an
// edit (caret, selection, MaxLength, CharCase), and typing clears ItemIndex (or, with
// the list dropped down, selects the first line the text begins). csDropDownList and
// the owner-drawn styles have no edit part: Text is the selected line, and a typed
// character selects the next line starting with it. Up and Down (and, without an edit
// part, Left, Right, Home and End) move ItemIndex; F4 and Alt+Down drop the list down
// or close it. A change the person makes fires OnChange after the text changed; a
// change of the selection fires OnClick and then OnSelect (OnChange when OnSelect is
// not assigned). Code that sets Text or ItemIndex fires nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Classes.h"
#include "ui/Controls.h"
#include "ui/Edit.h"
#include "ui/ListControlItems.h"

namespace ox {

enum class TComboBoxStyle {
  csDropDown,
  csSimple,
  csDropDownList,
  csOwnerDrawFixed,
  csOwnerDrawVariable
};

class TComboBox : public TWinControl {
 public:
  OX_CLASS_INFO()
  explicit TComboBox(TComponent* owner);
  ~TComboBox() override;

  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle value);
  // Whether the style has an edit part (csDropDown, csSimple).
  bool HasEditPart() const;
  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* items);
  int ItemIndex() const;
  // Selects the line (clamped to -1 .. the last) and shows it as the text; -1 empties
  // the text.
  void SetItemIndex(int index);
  // With an edit part the text as given (CharCase applied, the selection cleared);
  // without one the line of that text (ignoring case) is selected, or none.
  void SetText(const std::string& text) override;
  bool Sorted() const { return items_->Sorted(); }
  void SetSorted(bool value) { items_->SetSorted(value); }
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int value) { dropDownCount_ = value; }
  // Standard styles take the height of a line of their font; owner-drawn ones the value set.
  int ItemHeight() const;
  void SetItemHeight(int value);
  int MaxLength() const;
  void SetMaxLength(int value);
  TEditCharCase CharCase() const;
  void SetCharCase(TEditCharCase value);
  // The list of csDropDown and the list styles shows below the box; csSimple's always
  // shows, so it never drops down. Changes fire OnDropDown or OnCloseUp.
  bool DroppedDown() const { return droppedDown_; }
  void SetDroppedDown(bool value);
  // The selection of the edit part (0 without one).
  int SelStart() const;
  void SetSelStart(int value);
  int SelLength() const;
  void SetSelLength(int value);

  bool WantsKey(std::uint16_t key, TShiftState shift) const override;
  // A press focuses the box; on a list style, or on the button of csDropDown, it drops
  // the list down or closes it.
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  // A click is no OnClick: that reports a change of the selection.
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void DoEnter() override;
  void DoExit() override;
  void Loaded() override;

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

 protected:
  void DefaultKeyDown(std::uint16_t key, TShiftState shift) override;
  void DefaultKeyPress(char key) override;

 private:
  class EditPart;
  // Who changes the text of the edit part.
  enum class EditSource { Person, Code, Selection };

  // The edit part's text changed: the box takes it and, unless the selection put it
  // there, selects afresh; the person's changes fire OnChange.
  void EditChanged();
  void SetEditText(const std::string& text, EditSource source);
  // Runs a change of the edit part on behalf of `source`.
  void ChangeEdit(EditSource source, const std::function<void()>& change);
  // Shows the selected line as the text (selected in a focused edit part).
  void ShowSelection();
  // The person moved the selection to `index`: the text follows, then the events.
  void SelectByPerson(int index);
  void ItemsChanged(TObject* sender);

  TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
  std::unique_ptr<TListControlItems> items_;
  Owned<EditPart> edit_;
  EditSource editSource_ = EditSource::Person;
  int dropDownCount_ = 8;
  int itemHeight_ = 16;
  bool droppedDown_ = false;
  int loadedIndex_ = -1;  // an ItemIndex read from a form resource before the lines
};

// The names of TComboBoxStyle for form resources.
const std::vector<std::string>& ComboBoxStyleNames();

}  // namespace ox
