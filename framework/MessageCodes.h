// MessageCodes: the parts of the forms' message handling that need no form. A message is
// raised as a code text, ";"-separated fields with blanks around them not significant:
// a type letter ("C", "D", "E", "I", "Q", "W"; anything else counts as custom), a
// message number with leading zeros (negative: record only, no box) and up to ten
// parameters, for example "E;000013;" + a reason or "I;-000004;" + a job number. The
// text of a code comes from the host; here it is formatted with the parameters and
// recorded, and the type letter gives the box's kind and buttons.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "platform/Variant.h"
#include "ui/Dialogs.h"

namespace ox {

inline constexpr int kMessageParamCount = 10;

struct ParsedMessageCode {
  std::string type;
  // The number as the host looks it up: without the leading minus of a record-only code.
  std::string id;
  // Whether the number read as an integer (0 when it is none) is positive.
  bool show = false;
  // Parameters 0.. are the fields after the number, trimmed texts; the rest are Empty.
  std::array<Variant, kMessageParamCount> params;
  // The parameter fields present, at least 1 (an empty text when the code has none) and
  // at most ten: fields beyond the tenth parameter are dropped.
  int paramCount = 1;
};

// Splits and trims a code text. When the code is not shown, the first character of the
// number (the minus sign) is dropped, whatever it is: "X;abc" looks up "bc".
ParsedMessageCode ParseMessageCode(std::string_view code);

// The box kind of a type letter: "C", "D", "W" warning, "E" error, "I" information,
// "Q" confirmation, anything else (letters compare exactly) custom.
TMsgDlgType MessageKind(std::string_view type);
// The default buttons of a message shown at once for a type letter: "C", "Q", "W"
// [OK, Cancel], "D" [Yes, No, Cancel], "E", "I" and custom [OK]. Recorded codes are
// always shown with [OK] alone.
TMsgDlgButtons CodedMessageButtons(std::string_view type);

// Format(text, params); when formatting fails, the text, a carriage return and every
// parameter (VarToStr) followed by ";". The forms pass all ten parameters of a code, so
// "%s" of a missing parameter reads "" instead of failing.
std::string FormatMessageText(const std::string& text, std::span<const Variant> params);

// The text of a code when there is no host to look it up:
// "Can not Get Message\rType= <type>, ID= <id> ".
std::string MissingMessageText(std::string_view type, std::string_view id);

// What a form recorded since the last clear: every code handled, each followed by "; ",
// and every distinct message text, each followed by "; ". A text already contained in
// the texts, even as part of a longer one, is not added again; an empty text is never
// taken as contained.
class MessageRecords {
 public:
  const std::string& codes() const { return codes_; }
  const std::string& texts() const { return texts_; }

  // Records a code and its formatted text.
  void AddCode(std::string_view code, std::string_view text);
  // Records a free text (an exception message, say) under the code "E;-1". The text is
  // trimmed; an empty text clears the records instead.
  void AddFreeText(std::string_view text);
  void Clear();

 private:
  void AddText(std::string_view text);

  std::string codes_;
  std::string texts_;
};

}  // namespace ox
