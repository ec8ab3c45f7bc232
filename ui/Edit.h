// Single-line edits. The text is narrow (bytes of the system code page); the caret and
// the selection are byte offsets that never split a double-byte character. Input
// arrives as a person types it:
// - WM_KEYDOWN moves the caret (Left/Up, Right/Down, Home, End; with Shift the
//   selection grows) and Delete removes the selection or the character after the caret;
// - WM_CHAR inserts a character in place of the selection (a double-byte character
//   arrives as two WM_CHAR, lead byte first), Backspace (character 8) removes the
//   selection or the character before the caret, as the system's edit control does.
// The edit wants the arrow keys, so they never move the focus; Enter, Tab and Escape go
// to the form's dialog handling (default and cancel buttons).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Controls.h"

namespace ox {

enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
// The input method an edit asks for (only stored).
enum class TImeMode {
  imDisable,
  imClose,
  imOpen,
  imDontCare,
  imSAlpha,
  imAlpha,
  imHira,
  imSKata,
  imKata,
  imChinese,
  imSHanguel,
  imHanguel
};

class TCustomEdit : public TWinControl {
 public:
  OX_CLASS_INFO()
  explicit TCustomEdit(TComponent* owner);

  // Setting the text applies CharCase, puts the caret at the start and clears Modified;
  // MaxLength limits typing only, as in the system's edit control.
  void SetText(const std::string& text) override;

  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value) { maxLength_ = value < 0 ? 0 : value; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  TEditCharCase CharCase() const { return charCase_; }
  // Converts the present text too.
  void SetCharCase(TEditCharCase value);
  // The character shown for each character of the text (0: the text itself).
  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char value) { passwordChar_ = value; }
  // Whether getting the focus from the keyboard selects the whole text.
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool value) { autoSelect_ = value; }
  // Whether the text changed by typing since it was last set (or Modified cleared).
  bool Modified() const { return modified_; }
  void SetModified(bool value) { modified_ = value; }
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value) { borderStyle_ = value; }

  // The selection: SelStart is where it begins, SelLength how many bytes it covers;
  // setting SelStart empties it, setting SelLength extends it from SelStart. Positions
  // are clamped to the text and moved back to the start of a double-byte character.
  int SelStart() const;
  void SetSelStart(int value);
  int SelLength() const;
  void SetSelLength(int value);
  std::string SelText() const;
  // Replaces the selection (MaxLength applies, as to typing) and leaves the caret after
  // the new text.
  void SetSelText(const std::string& text);
  void SelectAll();

  bool WantsKey(std::uint16_t key, TShiftState shift) const override;
  void DoEnter() override;
  // A left press gives the edit the focus (without AutoSelect) and puts the caret at
  // the character boundary nearest to the point.
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

  TNotifyEvent OnChange;

 protected:
  // Where the text starts inside the control: the sunken border and a one-pixel margin.
  static constexpr int kTextInset = 3;

  // Raises OnChange; the text has changed (not while the form resource is read).
  virtual void Change();
  void TextChanged() override;
  void DefaultKeyDown(std::uint16_t key, TShiftState shift) override;
  void DefaultKeyPress(char key) override;
  // A typed character (one or two bytes) and a typed control character (below 32).
  virtual void TypeCharacter(std::string_view character);
  virtual void TypeControl(char key);
  // The selection as anchor (where it started) and caret (the moving end).
  int Anchor() const { return anchor_; }
  int Caret() const { return caret_; }
  void SetSelection(int anchor, int caret);
  // Replaces the selection by user input: refused (false) when read-only or when
  // MaxLength would be exceeded; marks the text modified.
  bool ReplaceSelectionByUser(std::string_view text);
  // Sets the text without resetting the caret or Modified (for edits by input).
  void ChangeText(std::string text, int caret);
  // Character boundaries around a position (a memo steps over a line break as one).
  virtual int NextPosition(int pos) const;
  int PriorPosition(int pos) const;
  // The caret position for a point of the control; a single-line edit has one line.
  virtual int PositionAt(int x, int y) const;
  // The boundary of [start, end) whose left edge, as the font measures the text from
  // start, is nearest to x.
  int NearestPosition(int start, int end, int x) const;
  std::string ApplyCharCase(std::string text) const;

 private:
  int Clamp(int pos) const;

  int maxLength_ = 0;
  bool readOnly_ = false;
  TEditCharCase charCase_ = TEditCharCase::ecNormal;
  char passwordChar_ = 0;
  bool autoSelect_ = true;
  bool modified_ = false;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
  bool ctl3D_ = true;
  bool parentCtl3D_ = true;
  bool hideSelection_ = true;
  bool oemConvert_ = false;
  bool autoSize_ = true;
  std::string imeName_;
  TImeMode imeMode_ = TImeMode::imDontCare;
  int anchor_ = 0;
  int caret_ = 0;
  char pendingLead_ = 0;  // the lead byte of a double-byte character being typed
  bool focusByMouse_ = false;
};

class TEdit : public TCustomEdit {
 public:
  OX_CLASS_INFO()
  using TCustomEdit::TCustomEdit;
};

// The enumeration names of the edits for form resources.
const std::vector<std::string>& EditCharCaseNames();
const std::vector<std::string>& ImeModeNames();

}  // namespace ox
