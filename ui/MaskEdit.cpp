#include "ui/MaskEdit.h"

#include <algorithm>

namespace ox {

// ---- TCustomMaskEdit -------------------------------------------------------

const ClassInfo& TCustomMaskEdit::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TCustomMaskEdit>("TCustomMaskEdit", &TCustomEdit::StaticClassInfo()).build();
  return info;
}

void TCustomMaskEdit::SetEditMask(const std::string& mask) {
  if (mask == editMask_) return;
  const std::string input = IsMasked() ? mask_.Unformat(text_) : text_;
  editMask_ = mask;
  mask_ = ox::EditMask(mask);
  if (!IsMasked()) return TCustomEdit::SetText(input);
  SetEditText(
      mask_.Format(input.substr(0, static_cast<std::size_t>(mask_.MaxChars())), mask_.Blank()));
}

void TCustomMaskEdit::SetEditText(const std::string& text) {
  TCustomEdit::SetText(text);
  CheckCursor();
}

std::string TCustomMaskEdit::Text() const {
  return IsMasked() ? mask_.Text(text_) : text_;
}

void TCustomMaskEdit::SetText(const std::string& text) {
  if (!IsMasked()) return TCustomEdit::SetText(text);
  SetEditText(mask_.EditTextFor(text));
}

void TCustomMaskEdit::Reset() {
  if (!Modified()) return;
  SetEditText(focusText_);
  SetModified(false);
}

bool TCustomMaskEdit::WantsKey(std::uint16_t key, TShiftState shift) const {
  // Escape undoes the changes instead of cancelling the form while there are any.
  return TCustomEdit::WantsKey(key, shift) ||
         (key == VK_ESCAPE && IsMasked() && Modified() && !ReadOnly());
}

void TCustomMaskEdit::DoEnter() {
  if (!IsMasked()) return TCustomEdit::DoEnter();
  focusText_ = text_;
  TCustomEdit::DoEnter();
  CheckCursor();
}

void TCustomMaskEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomEdit::MouseDown(button, shift, x, y);
  if (Focused()) CheckCursor();
}

void TCustomMaskEdit::SetCursor(int pos) {
  SetSelection(pos, pos);  // clamped to the text and to a character's start
  const int start = Caret();
  if (start >= mask_.MaxChars()) {
    SetSelection(mask_.MaxChars(), mask_.MaxChars());
    return;
  }
  // Selected from its end, so the caret stands before the character.
  SetSelection(NextPosition(start), start);
}

void TCustomMaskEdit::CheckCursor() {
  if (IsMasked() && SelLength() == 0) SetCursor(SelStart());
}

void TCustomMaskEdit::DefaultKeyDown(std::uint16_t key, TShiftState shift) {
  if (!IsMasked() || (shift & ssAlt) != 0) return TCustomEdit::DefaultKeyDown(key, shift);
  const bool extend = (shift & (ssShift | ssCtrl)) != 0;
  switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
      if (!extend) return ArrowKey(key);
      TCustomEdit::DefaultKeyDown(key, shift);
      if ((shift & ssShift) == 0) CheckCursor();
      return;
    case VK_UP:
    case VK_DOWN:
      return;  // a masked edit has no use for them
    case VK_HOME:
    case VK_END:
      if (shift & ssShift) return TCustomEdit::DefaultKeyDown(key, shift);
      return SetCursor(key == VK_HOME ? 0 : mask_.MaxChars());
    case VK_DELETE:
    case VK_BACK:
      return DeleteKey(key);
    default:
      return CheckCursor();
  }
}

void TCustomMaskEdit::ArrowKey(std::uint16_t key) {
  const int start = SelStart();
  const int end = start + SelLength();
  if (end - start > 1 && end - start != NextPosition(start) - start) {
    // A wider selection collapses onto the character at the caret.
    SetCursor(Caret() == end ? Caret() - 1 : Caret());
  } else if (key == VK_LEFT) {
    SetCursor(mask_.PriorInput(start - 1));
  } else {
    SetCursor(start == end ? start : mask_.NextInput(end));
  }
}

void TCustomMaskEdit::DeleteKey(std::uint16_t key) {
  if (ReadOnly()) return;
  int start = SelStart();
  if (SelLength() <= 1 && key == VK_BACK) {
    // Backspace first steps back to the previous input position.
    const int was = start;
    SetCursor(mask_.PriorInput(start - 1));
    start = SelStart();
    if (start == was) return;
  }
  const int length = SelLength();
  if (length < 1) return;
  // After a wider selection the caret goes to its first input position.
  WriteEditText(mask_.Clear(text_, start, length),
                length > NextPosition(start) - start ? mask_.NextInput(start) : start);
}

void TCustomMaskEdit::TypeCharacter(std::string_view character) {
  if (!IsMasked()) return TCustomEdit::TypeCharacter(character);
  if (ReadOnly()) return;
  int pos = SelStart();
  if (SelLength() > NextPosition(pos) - pos) {
    // Typing over a wider selection blanks it first.
    WriteEditText(mask_.Clear(text_, pos, SelLength()), pos);
  }
  pos = mask_.NextInput(pos);
  const auto accepted = mask_.Accept(pos, ApplyCharCase(std::string(character)));
  if (accepted) return WriteAt(pos, *accepted);
  if (character.size() != 1) return;
  // A literal typed where input is expected: absorbed right after the same literal,
  // or a move past the next literal when it is that one.
  if (mask_.LiteralChar(pos - 1) == character[0]) return SetCursor(pos);
  const int literal = mask_.LiteralAfter(pos);
  if (literal >= 0 && mask_.LiteralChar(literal) == character[0])
    SetCursor(mask_.NextInput(literal));
}

void TCustomMaskEdit::TypeControl(char key) {
  if (!IsMasked()) return TCustomEdit::TypeControl(key);
  if (key == VK_ESCAPE) Reset();
  // Backspace was handled by its key-down; other control characters are not input.
}

void TCustomMaskEdit::WriteAt(int pos, std::string_view characters) {
  std::string text = text_;
  const std::size_t end = static_cast<std::size_t>(pos) + characters.size();
  if (text.size() < end) {
    // An edit text set shorter than the mask is completed from the blank template.
    const std::string blank = mask_.BlankText();
    text += blank.substr(std::min(text.size(), blank.size()));
    text.resize(std::max(text.size(), end), mask_.Blank());
  }
  text.replace(static_cast<std::size_t>(pos), characters.size(), characters);
  WriteEditText(std::move(text), pos);
  SetCursor(mask_.NextInput(static_cast<int>(end)));
}

void TCustomMaskEdit::WriteEditText(std::string text, int caret) {
  SetModified(true);
  ChangeText(std::move(text), caret);
  SetCursor(caret);
}

// ---- TMaskEdit -------------------------------------------------------------

const ClassInfo& TMaskEdit::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TMaskEdit>("TMaskEdit", &TCustomMaskEdit::StaticClassInfo())
          .creatable()
          .property("EditMask", &TMaskEdit::EditMask, &TMaskEdit::SetEditMask)
          .property(
              "Text", [](const TMaskEdit& e) { return e.Text(); },
              [](TMaskEdit& e, const std::string& text) { e.SetText(text); })
          .build();
  return info;
}

}  // namespace ox
