#include "controls/OxSpin.h"

#include <algorithm>
#include <string>

namespace ox {

namespace {

// Cuts the last character while `sign` stands after the first one.
void CutWhileSignInside(std::string& text, char sign) {
  while (text.find(sign, 1) != std::string::npos)
    text.pop_back();
}

bool IsBlank(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

}  // namespace

const ClassInfo& TOxSpinEdit::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TOxSpinEdit>("TOxSpinEdit", &TSpinEdit::StaticClassInfo()).creatable().build();
  return info;
}

void TOxSpinEdit::Change() {
  std::string text = Text();
  CutWhileSignInside(text, '+');
  CutWhileSignInside(text, '-');
  if (text.size() != Text().size()) {
    ChangeText(std::move(text), std::min(Caret(), static_cast<int>(text.size())));
    return;
  }
  if (!IsBlank(text)) TSpinEdit::Change();
}

}  // namespace ox
