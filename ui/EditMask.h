// Edit masks in the framework's notation "mask;save-literals;blank-char", for example
// "9999/99/99;1; " or "!aaaa-aaaaaaaaaaa;0; ":
// - input characters: 0 digit, 9 optional digit, # optional digit, sign or blank,
//   L letter, l optional letter, A letter or digit, a optional letter or digit,
//   C any character, c optional any character;
// - directives: ! keeps leading instead of trailing blanks (the text is right-aligned),
//   > upper case and < lower case for what follows (<> ends both), \ makes the next
//   character a literal;
// - literals: any other character; : and / are the time and date separators and _
//   shows a blank;
// - the last two fields, when present, are the save-literals flag ("0": Text holds no
//   literals) and the blank character (default "_"). They are recognised only among the
//   last four characters, as the framework does.
// The edit text (what the control shows) has one position per input character or
// literal. Formatting and unformatting follow the framework's algorithms exactly, also
// where a text longer than the mask leaves extra characters in the edit text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ox {

class EditMask {
 public:
  // No mask: IsMasked is false.
  EditMask() = default;
  explicit EditMask(std::string_view text);

  bool IsMasked() const { return !slots_.empty(); }
  // Whether Text keeps the literals.
  bool SaveLiterals() const { return saveLiterals_; }
  // The character an empty input position shows.
  char Blank() const { return blank_; }
  // The number of positions of the edit text.
  int MaxChars() const { return static_cast<int>(slots_.size()); }

  // Whether the position holds a literal (positions outside the mask do not).
  bool IsLiteral(int pos) const;
  // The first input position at or after pos (MaxChars when none), and the last one at
  // or before pos (the first input position when none).
  int NextInput(int pos) const;
  int PriorInput(int pos) const;
  // The first literal after pos and its character, or -1.
  int LiteralAfter(int pos) const;
  char LiteralChar(int pos) const;

  // A typed character (one byte, or two for a double-byte character) as the input
  // position stores it (case directives applied), or nothing when it does not fit. A
  // double-byte character needs two input positions of the same kind.
  std::optional<std::string> Accept(int pos, std::string_view character) const;

  // The edit text of an empty control: literals in place, blanks elsewhere.
  std::string BlankText() const { return Format({}, blank_); }
  // Inserts the literals into a text of input characters and pads it with `blank`
  // (on the left for a right-aligned mask).
  std::string Format(std::string_view value, char blank) const;
  // The input characters of an edit text: literals dropped, trailing (leading for a
  // right-aligned mask) blanks dropped, other blanks turned into spaces.
  std::string Unformat(std::string_view editText) const;
  // The Text property of an edit text.
  std::string Text(std::string_view editText) const;
  // The edit text for a Text set from outside.
  std::string EditTextFor(std::string_view text) const;
  // The edit text with the input positions of [start, start + length) made blank.
  std::string Clear(std::string editText, int start, int length) const;

 private:
  struct Slot {
    bool literal = false;
    char ch = 0;  // the literal as shown, or the input character of the mask
    enum class Case { None, Upper, Lower } letterCase = Case::None;
  };
  // Fits a text with literals into the mask field by field: each run of input positions
  // takes the characters up to the next literal of the text (or as many as fit) and is
  // padded with the blank character.
  std::string PadInputLiterals(std::string_view value) const;

  std::vector<Slot> slots_;
  bool saveLiterals_ = true;
  char blank_ = '_';
  bool reverse_ = false;
};

}  // namespace ox
