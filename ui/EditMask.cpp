#include "ui/EditMask.h"

#include <algorithm>

#include "platform/AsciiText.h"

namespace ox {

namespace {

enum class CharType { Literal, IntlLiteral, Directive, Input, FieldSeparator, Field };

constexpr char kFieldSeparator = ';';
constexpr char kNoSave = '0';
constexpr char kDefaultBlank = '_';

// The kinds of the characters of a mask text, as the framework tells them apart.
class MaskText {
 public:
  explicit MaskText(std::string_view text) : text_(text), paired_(text.size(), false) {
    for (std::size_t pos = 0; pos < text.size();) {
      const std::size_t length = NarrowCharLength(text, pos);
      if (length == 2) paired_[pos] = paired_[pos + 1] = true;
      pos += length;
    }
  }

  int Size() const { return static_cast<int>(text_.size()); }
  char At(int pos) const { return text_[static_cast<std::size_t>(pos)]; }

  // Whether the character follows a "\" that is not itself escaped.
  bool Escaped(int pos) const {
    return pos > 0 && IsBackslash(pos - 1) && !(pos > 1 && IsBackslash(pos - 2));
  }

  CharType TypeAt(int pos) const {
    if (paired_[static_cast<std::size_t>(pos)] || Escaped(pos)) return CharType::Literal;
    // The flag and blank fields are recognised only among the last four characters.
    const bool inFields = Size() >= 4 && pos >= Size() - 4;
    const char c = At(pos);
    if (inFields && c == kFieldSeparator) return CharType::FieldSeparator;
    if (inFields && pos > 0 && At(pos - 1) == kFieldSeparator && !(pos > 1 && IsBackslash(pos - 2)))
      return CharType::Field;
    if (c == ':' || c == '/') return CharType::IntlLiteral;
    if (c == '!' || c == '>' || c == '<' || c == '\\') return CharType::Directive;
    if (std::string_view("LlAaCc09#").find(c) != std::string_view::npos) return CharType::Input;
    return CharType::Literal;
  }

  bool IsSeparator(int pos) const {
    return pos >= 0 && pos < Size() && TypeAt(pos) == CharType::FieldSeparator;
  }

 private:
  bool IsBackslash(int pos) const {
    return At(pos) == '\\' && !paired_[static_cast<std::size_t>(pos)];
  }

  std::string_view text_;
  std::vector<bool> paired_;  // bytes of double-byte characters
};

// The save-literals flag: the field after the second-last separator, scanning back over
// the last characters only.
bool SaveFlag(const MaskText& mask) {
  const int size = mask.Size();
  int last = -1;
  int secondLast = -1;
  for (int pos = size - 1; pos >= 0 && pos >= size - 5 && secondLast < 0; --pos) {
    if (!mask.IsSeparator(pos)) continue;
    (last < 0 ? last : secondLast) = pos;
  }
  if (secondLast < 0) secondLast = last;
  if (secondLast < 0 || secondLast == size - 1) return true;
  return mask.At(secondLast + 1) != kNoSave;
}

// The blank character: the last character when a separator precedes it and the save
// flag is there too.
char BlankChar(const MaskText& mask) {
  const int size = mask.Size();
  if (size >= 4 && mask.IsSeparator(size - 2) &&
      (mask.IsSeparator(size - 3) || mask.IsSeparator(size - 4)))
    return mask.At(size - 1);
  return kDefaultBlank;
}

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

EditMask::EditMask(std::string_view text) {
  const MaskText mask(text);
  Slot::Case letterCase = Slot::Case::None;
  for (int pos = 0; pos < mask.Size(); ++pos) {
    const char c = mask.At(pos);
    switch (mask.TypeAt(pos)) {
      case CharType::Literal:
        // An unescaped "_" shows a blank.
        slots_.push_back({true, c == '_' && !mask.Escaped(pos) ? ' ' : c});
        break;
      case CharType::IntlLiteral:
        slots_.push_back({true, c});
        break;
      case CharType::Input:
        slots_.push_back({false, c, letterCase});
        break;
      case CharType::Directive:
        if (c == '!') reverse_ = true;
        if (c == '<') letterCase = Slot::Case::Lower;
        // "<>" ends both case directives.
        if (c == '>')
          letterCase = pos > 0 && mask.At(pos - 1) == '<' ? Slot::Case::None : Slot::Case::Upper;
        break;
      case CharType::FieldSeparator:
      case CharType::Field:
        break;
    }
  }
  saveLiterals_ = SaveFlag(mask);
  blank_ = BlankChar(mask);
}

bool EditMask::IsLiteral(int pos) const {
  return pos >= 0 && pos < MaxChars() && slots_[static_cast<std::size_t>(pos)].literal;
}

int EditMask::NextInput(int pos) const {
  pos = std::max(pos, 0);
  while (pos < MaxChars() && IsLiteral(pos))
    ++pos;
  return std::min(pos, MaxChars());
}

int EditMask::PriorInput(int pos) const {
  pos = std::min(pos, MaxChars() - 1);
  while (pos >= 0 && IsLiteral(pos))
    --pos;
  return pos < 0 ? NextInput(0) : pos;
}

int EditMask::LiteralAfter(int pos) const {
  for (int p = std::max(pos + 1, 0); p < MaxChars(); ++p)
    if (IsLiteral(p)) return p;
  return -1;
}

char EditMask::LiteralChar(int pos) const {
  return IsLiteral(pos) ? slots_[static_cast<std::size_t>(pos)].ch : 0;
}

std::optional<std::string> EditMask::Accept(int pos, std::string_view character) const {
  if (pos < 0 || pos >= MaxChars() || IsLiteral(pos) || character.empty() || character.size() > 2)
    return std::nullopt;
  const Slot& slot = slots_[static_cast<std::size_t>(pos)];
  const char kind = UpperAscii(slot.ch);
  if (character.size() == 2) {
    // A double-byte character takes two positions of the same letter kind.
    const bool pairedKind = kind == 'L' || kind == 'A' || kind == 'C';
    if (!pairedKind || pos + 1 >= MaxChars() || IsLiteral(pos + 1) ||
        UpperAscii(slots_[static_cast<std::size_t>(pos) + 1].ch) != kind)
      return std::nullopt;
    return std::string(character);
  }
  char c = character[0];
  bool fits = true;
  switch (kind) {
    case '0':
    case '9':
      fits = IsDigit(c);
      break;
    case '#':
      fits = IsDigit(c) || c == ' ' || c == '+' || c == '-';
      break;
    case 'L':
      fits = IsLetter(c);
      break;
    case 'A':
      fits = IsLetter(c) || IsDigit(c);
      break;
    default:  // C: any character
      break;
  }
  if (!fits) return std::nullopt;
  if (slot.letterCase == Slot::Case::Upper) c = UpperAscii(c);
  if (slot.letterCase == Slot::Case::Lower) c = LowerAscii(c);
  return std::string(1, c);
}

std::string EditMask::Format(std::string_view value, char blank) const {
  std::string result(value);
  if (!reverse_) {
    // Literals go in at their places; missing input characters become blanks at the end.
    std::size_t offset = 0;
    for (const Slot& slot : slots_) {
      if (slot.literal)
        result.insert(offset, 1, slot.ch);
      else if (offset >= result.size())
        result += blank;
      ++offset;
    }
    return result;
  }
  // Right-aligned: from the end, blanks go in at the start.
  std::size_t offset = result.size();
  for (auto slot = slots_.rbegin(); slot != slots_.rend(); ++slot) {
    if (slot->literal)
      result.insert(offset, 1, slot->ch);
    else if (offset == 0)
      result.insert(0, 1, blank);
    else
      --offset;
  }
  return result;
}

std::string EditMask::Unformat(std::string_view editText) const {
  std::string result(editText);
  std::size_t offset = 0;
  for (const Slot& slot : slots_) {
    if (!slot.literal)
      ++offset;
    else if (offset < result.size())
      result.erase(offset, 1);
  }
  if (reverse_)
    result.erase(0, std::min(result.find_first_not_of(blank_), result.size()));
  else
    result.erase(result.find_last_not_of(blank_) + 1);
  std::replace(result.begin(), result.end(), blank_, ' ');
  return result;
}

std::string EditMask::Text(std::string_view editText) const {
  const std::string input = Unformat(editText);
  return saveLiterals_ ? Format(input, ' ') : input;
}

std::string EditMask::EditTextFor(std::string_view text) const {
  return saveLiterals_ ? PadInputLiterals(text) : Format(text, blank_);
}

std::string EditMask::Clear(std::string editText, int start, int length) const {
  const int end = std::min({start + length, MaxChars(), static_cast<int>(editText.size())});
  for (int pos = std::max(start, 0); pos < end; ++pos)
    if (!IsLiteral(pos)) editText[static_cast<std::size_t>(pos)] = blank_;
  return editText;
}

std::string EditMask::PadInputLiterals(std::string_view value) const {
  // A right-aligned mask fills its fields from the end.
  std::vector<Slot> slots = slots_;
  std::string input(value);
  if (reverse_) {
    std::reverse(slots.begin(), slots.end());
    std::reverse(input.begin(), input.end());
  }
  std::string result;
  std::size_t next = 0;  // the next character of the input
  for (std::size_t pos = 0; pos < slots.size();) {
    if (slots[pos].literal) {
      result += slots[pos].ch;
      if (next < input.size() && input[next] == slots[pos].ch) ++next;
      ++pos;
      continue;
    }
    std::size_t end = pos;
    while (end < slots.size() && !slots[end].literal)
      ++end;
    const bool closed = end < slots.size();
    std::size_t taken = 0;
    while (pos + taken < end && next < input.size() && !(closed && input[next] == slots[end].ch)) {
      result += input[next++];
      ++taken;
    }
    result.append(end - pos - taken, blank_);
    pos = end;
  }
  if (reverse_) std::reverse(result.begin(), result.end());
  return result;
}

}  // namespace ox
