#include "ui/SortType.h"

#include "platform/AsciiText.h"

namespace ox {

namespace {

int CompareBytes(std::string_view a, std::string_view b) {
  // Bytes compare unsigned, so the high bytes of GB texts sort after ASCII.
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

const std::vector<std::string>& SortTypeNames() {
  static const std::vector<std::string> names{"stNone", "stData", "stText", "stBoth"};
  return names;
}

int CompareItemText(std::string_view a, std::string_view b) {
  if (const int folded = CompareBytes(UpperNarrow(a), UpperNarrow(b)); folded != 0) return folded;
  return CompareBytes(a, b);
}

}  // namespace ox
