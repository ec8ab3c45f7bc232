// How list views and tree views keep their items in order, and the order of item
// texts they sort by when no compare handler is given.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ox {

// stText keeps the items ordered by text, stData by their data (through the compare
// handler), stBoth by either change.
enum class TSortType { stNone, stData, stText, stBoth };

const std::vector<std::string>& SortTypeNames();

inline bool SortsByText(TSortType type) {
  return type == TSortType::stText || type == TSortType::stBoth;
}
inline bool SortsByData(TSortType type) {
  return type == TSortType::stData || type == TSortType::stBoth;
}

// Negative, zero or positive as `a` sorts before, with or after `b`: ignoring ASCII
// case first, then by the bytes, so double-byte GB texts follow their codes.
int CompareItemText(std::string_view a, std::string_view b);

}  // namespace ox
