#include "ui/Edit.h"

#include <algorithm>
#include <cstdlib>

#include "platform/AsciiText.h"
#include "ui/Canvas.h"
#include "ui/TakeFocus.h"

namespace ox {

namespace {

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

}  // namespace

const std::vector<std::string>& EditCharCaseNames() {
  static const std::vector<std::string> names{"ecNormal", "ecUpperCase", "ecLowerCase"};
  return names;
}

const std::vector<std::string>& ImeModeNames() {
  static const std::vector<std::string> names{"imDisable", "imClose",   "imOpen",     "imDontCare",
                                              "imSAlpha",  "imAlpha",   "imHira",     "imSKata",
                                              "imKata",    "imChinese", "imSHanguel", "imHanguel"};
  return names;
}

// ---- TCustomEdit -----------------------------------------------------------

const ClassInfo& TCustomEdit::StaticClassInfo() {
  using E = TCustomEdit;
  static const ClassInfo info =
      ClassBuilder<E>("TCustomEdit", &TWinControl::StaticClassInfo())
          .property("AutoSelect", &E::AutoSelect, &E::SetAutoSelect)
          .defaultValue(1)
          .property(
              "AutoSize", [](const E& e) { return e.autoSize_; },
              [](E& e, bool v) { e.autoSize_ = v; })
          .defaultValue(1)
          .enumeration("BorderStyle", &E::BorderStyle, &E::SetBorderStyle, BorderStyleNames())
          .defaultValue(static_cast<int>(TBorderStyle::bsSingle))
          .enumeration("CharCase", &E::CharCase, &E::SetCharCase, EditCharCaseNames())
          .defaultValue(0)
          .property(
              "Ctl3D", [](const E& e) { return e.ctl3D_; }, [](E& e, bool v) { e.ctl3D_ = v; })
          .defaultValue(1)
          .property(
              "ParentCtl3D", [](const E& e) { return e.parentCtl3D_; },
              [](E& e, bool v) { e.parentCtl3D_ = v; })
          .defaultValue(1)
          .property(
              "HideSelection", [](const E& e) { return e.hideSelection_; },
              [](E& e, bool v) { e.hideSelection_ = v; })
          .defaultValue(1)
          .enumeration(
              "ImeMode", [](const E& e) { return e.imeMode_; },
              [](E& e, TImeMode v) { e.imeMode_ = v; }, ImeModeNames())
          .defaultValue(static_cast<int>(TImeMode::imDontCare))
          .property(
              "ImeName", [](const E& e) { return e.imeName_; },
              [](E& e, const std::string& v) { e.imeName_ = v; })
          .property("MaxLength", &E::MaxLength, &E::SetMaxLength)
          .defaultValue(0)
          .property(
              "OEMConvert", [](const E& e) { return e.oemConvert_; },
              [](E& e, bool v) { e.oemConvert_ = v; })
          .defaultValue(0)
          .property("PasswordChar", &E::PasswordChar, &E::SetPasswordChar)
          .defaultValue(0)
          .property("ReadOnly", &E::ReadOnly, &E::SetReadOnly)
          .defaultValue(0)
          .event("OnChange", &E::OnChange)
          .build();
  return info;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, 21);
  SetColor(clWindow);
  SetTabStop(true);
}

void TCustomEdit::SetText(const std::string& text) {
  std::string value = ApplyCharCase(text);
  if (value == text_) return;
  modified_ = false;
  ChangeText(std::move(value), 0);
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
  charCase_ = value;
  std::string converted = ApplyCharCase(text_);
  if (converted != text_) ChangeText(std::move(converted), caret_);
}

std::string TCustomEdit::ApplyCharCase(std::string text) const {
  if (charCase_ == TEditCharCase::ecNormal) return text;
  // Only single-byte letters change case; a trail byte is never taken for a letter.
  for (std::size_t pos = 0; pos < text.size(); pos += NarrowCharLength(text, pos))
    text[pos] =
        charCase_ == TEditCharCase::ecUpperCase ? UpperAscii(text[pos]) : LowerAscii(text[pos]);
  return text;
}

int TCustomEdit::Clamp(int pos) const {
  const int size = static_cast<int>(text_.size());
  pos = std::clamp(pos, 0, size);
  int boundary = 0;
  while (boundary < pos) {
    const int next = NextPosition(boundary);
    if (next > pos) break;
    boundary = next;
  }
  return boundary;
}

int TCustomEdit::NextPosition(int pos) const {
  const int size = static_cast<int>(text_.size());
  if (pos >= size) return size;
  return pos + static_cast<int>(NarrowCharLength(text_, static_cast<std::size_t>(pos)));
}

int TCustomEdit::PriorPosition(int pos) const {
  int prior = 0;
  for (int p = 0; p < pos; p = NextPosition(p))
    prior = p;
  return prior;
}

int TCustomEdit::SelStart() const {
  return std::min(anchor_, caret_);
}

int TCustomEdit::SelLength() const {
  return std::abs(caret_ - anchor_);
}

void TCustomEdit::SetSelection(int anchor, int caret) {
  anchor_ = Clamp(anchor);
  caret_ = Clamp(caret);
}

void TCustomEdit::SetSelStart(int value) {
  SetSelection(value, value);
}

void TCustomEdit::SetSelLength(int value) {
  const int start = SelStart();
  SetSelection(start, start + std::max(value, 0));
}

std::string TCustomEdit::SelText() const {
  return text_.substr(static_cast<std::size_t>(SelStart()), static_cast<std::size_t>(SelLength()));
}

void TCustomEdit::SelectAll() {
  SetSelection(0, static_cast<int>(text_.size()));
}

void TCustomEdit::SetSelText(const std::string& text) {
  std::string_view insert = text;
  if (maxLength_ > 0) {
    // Only whole characters that fit are inserted.
    const std::size_t room = static_cast<std::size_t>(
        std::max(0, maxLength_ - static_cast<int>(text_.size()) + SelLength()));
    std::size_t fits = 0;
    while (fits < insert.size() && fits + NarrowCharLength(insert, fits) <= room)
      fits += NarrowCharLength(insert, fits);
    insert = insert.substr(0, fits);
  }
  modified_ = true;
  const auto start = static_cast<std::size_t>(SelStart());
  std::string value = text_;
  value.replace(start, static_cast<std::size_t>(SelLength()), insert);
  ChangeText(std::move(value), static_cast<int>(start + insert.size()));
}

bool TCustomEdit::ReplaceSelectionByUser(std::string_view text) {
  if (readOnly_) return false;
  const int newSize = static_cast<int>(text_.size()) - SelLength() + static_cast<int>(text.size());
  if (maxLength_ > 0 && !text.empty() && newSize > maxLength_) return false;
  SetSelText(std::string(text));
  return true;
}

void TCustomEdit::ChangeText(std::string text, int caret) {
  if (text == text_) {
    SetSelection(caret, caret);
    return;
  }
  text_ = std::move(text);
  // The caret is in place before OnChange runs, so handlers see where it is.
  SetSelection(caret, caret);
  TextChanged();
}

void TCustomEdit::TextChanged() {
  if (!IsLoading()) Change();
}

void TCustomEdit::Change() {
  OnChange(this);
}

bool TCustomEdit::WantsKey(std::uint16_t key, TShiftState) const {
  return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

void TCustomEdit::DoEnter() {
  if (autoSelect_ && !focusByMouse_) SelectAll();
  TWinControl::DoEnter();
}

void TCustomEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft) {
    focusByMouse_ = true;
    const bool focused = TakeFocus(*this);
    focusByMouse_ = false;
    // A handler that kept the focus elsewhere leaves the caret alone.
    if (focused) {
      const int pos = PositionAt(x, y);
      SetSelection((shift & ssShift) ? anchor_ : pos, pos);
    }
  }
  TWinControl::MouseDown(button, shift, x, y);
}

int TCustomEdit::PositionAt(int x, int) const {
  return NearestPosition(0, static_cast<int>(text_.size()), x);
}

int TCustomEdit::NearestPosition(int start, int end, int x) const {
  TCanvas canvas;
  canvas.Font().Assign(*Font());
  const int target = x - kTextInset;
  int left = 0;
  for (int pos = start; pos < end;) {
    const int next = NextPosition(pos);
    const std::string_view shown =
        passwordChar_ != 0 ? std::string_view(&passwordChar_, 1)
                           : std::string_view(text_).substr(static_cast<std::size_t>(pos),
                                                            static_cast<std::size_t>(next - pos));
    const int width = canvas.TextWidth(shown);
    if (target < left + width / 2) return pos;
    left += width;
    pos = next;
  }
  return end;
}

void TCustomEdit::DefaultKeyDown(std::uint16_t key, TShiftState shift) {
  const int size = static_cast<int>(text_.size());
  auto moveTo = [&](int pos) { SetSelection((shift & ssShift) ? anchor_ : pos, pos); };
  switch (key) {
    case VK_LEFT:
    case VK_UP:
      moveTo(PriorPosition(caret_));
      break;
    case VK_RIGHT:
    case VK_DOWN:
      moveTo(NextPosition(caret_));
      break;
    case VK_HOME:
      moveTo(0);
      break;
    case VK_END:
      moveTo(size);
      break;
    case VK_DELETE:
      if (readOnly_) break;
      if (SelLength() == 0) SetSelection(caret_, NextPosition(caret_));
      if (SelLength() > 0) ReplaceSelectionByUser({});
      break;
    default:
      break;
  }
}

void TCustomEdit::DefaultKeyPress(char key) {
  const auto byte = static_cast<unsigned char>(key);
  if (pendingLead_ != 0) {
    const char lead = pendingLead_;
    pendingLead_ = 0;
    // Trail bytes are 0x40 and up; anything else drops the lone lead byte.
    if (byte >= 0x40) {
      const char pair[2] = {lead, key};
      TypeCharacter(std::string_view(pair, 2));
      return;
    }
  }
  if (byte >= 0x80 && IsDBCSLeadByte(byte)) {
    pendingLead_ = key;
    return;
  }
  if (byte < 0x20 || byte == 0x7F) {
    TypeControl(key);
    return;
  }
  TypeCharacter(std::string_view(&key, 1));
}

void TCustomEdit::TypeCharacter(std::string_view character) {
  ReplaceSelectionByUser(ApplyCharCase(std::string(character)));
}

void TCustomEdit::TypeControl(char key) {
  if (key != VK_BACK || readOnly_) return;
  if (SelLength() == 0) SetSelection(caret_, PriorPosition(caret_));
  if (SelLength() > 0) ReplaceSelectionByUser({});
}

// ---- TEdit -----------------------------------------------------------------

const ClassInfo& TEdit::StaticClassInfo() {
  static const ClassInfo info = ClassBuilder<TEdit>("TEdit", &TCustomEdit::StaticClassInfo())
                                    .creatable()
                                    .property("Text", &TEdit::Text, &TEdit::SetText)
                                    .build();
  return info;
}

}  // namespace ox
