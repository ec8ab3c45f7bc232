// Masked edits. With an EditMask (see ui/EditMask.h) the control shows its EditText: the
// literals in place and the blank character in empty input positions; an empty masked
// edit shows the blank template ("    /  /  " for "9999/99/99;1; "). Text reads the
// input without literals, or with them when the mask saves literals.
//
// Typing overwrites: the caret sits on an input position with that character selected,
// literals are skipped, a character that does not fit its position is refused (typing
// the next literal moves past it), Backspace and Delete put the blank character back,
// Escape undoes the changes made since the control got the focus. Backspace acts on its
// key-down here, as the framework's masked edit does. Without a mask the control is a
// plain edit.
#pragma once

#include <string>

#include "ui/Edit.h"
#include "ui/EditMask.h"

namespace ox {

class TCustomMaskEdit : public TCustomEdit {
 public:
  OX_CLASS_INFO()
  using TCustomEdit::TCustomEdit;

  const std::string& EditMask() const { return editMask_; }
  // Refits the present input characters into the new mask.
  void SetEditMask(const std::string& mask);
  bool IsMasked() const { return mask_.IsMasked(); }
  // What the control shows (the window text).
  const std::string& EditText() const { return text_; }
  // Sets the shown text as it is, as setting the window text does.
  void SetEditText(const std::string& text);
  // Hides TControl::Text: the input without literals unless the mask saves them.
  std::string Text() const;
  void SetText(const std::string& text) override;
  // Puts back the text the control had when it got the focus.
  void Reset();

  bool WantsKey(std::uint16_t key, TShiftState shift) const override;
  void DoEnter() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

 protected:
  void DefaultKeyDown(std::uint16_t key, TShiftState shift) override;
  void TypeCharacter(std::string_view character) override;
  void TypeControl(char key) override;

 private:
  // Selects the character at an edit position (nothing at the end), the caret before it.
  void SetCursor(int pos);
  // Selects the character at the caret when nothing is selected.
  void CheckCursor();
  void ArrowKey(std::uint16_t key);
  void DeleteKey(std::uint16_t key);
  // Writes input characters over the edit text at pos, as typed.
  void WriteAt(int pos, std::string_view characters);
  void WriteEditText(std::string text, int caret);

  std::string editMask_;
  ox::EditMask mask_;
  std::string focusText_;  // the edit text when the control got the focus
};

class TMaskEdit : public TCustomMaskEdit {
 public:
  OX_CLASS_INFO()
  using TCustomMaskEdit::TCustomMaskEdit;
};

}  // namespace ox
