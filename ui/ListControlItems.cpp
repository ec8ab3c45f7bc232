#include "ui/ListControlItems.h"

#include <algorithm>
#include <numeric>

#include "platform/AsciiText.h"

namespace ox {

namespace {

[[noreturn]] void IndexError(int index) {
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

void TListControlItems::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  sorted_ = sorted;
  if (!sorted_ || Count() < 2) return;
  // Sort the lines with their marks, then find the current line again.
  std::vector<int> order(static_cast<std::size_t>(Count()));
  std::iota(order.begin(), order.end(), 0);
  std::vector<std::string> keys;
  keys.reserve(order.size());
  for (const Item& item : items_)
    keys.push_back(UpperNarrow(item.text));
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return keys[static_cast<std::size_t>(a)] < keys[static_cast<std::size_t>(b)];
  });
  std::vector<Item> items;
  std::vector<char> marks;
  int current = -1;
  for (std::size_t i = 0; i < order.size(); ++i) {
    const auto from = static_cast<std::size_t>(order[i]);
    items.push_back(std::move(items_[from]));
    marks.push_back(marks_[from]);
    if (order[i] == current_) current = static_cast<int>(i);
  }
  items_ = std::move(items);
  marks_ = std::move(marks);
  current_ = current;
  Changed();
}

int TListControlItems::Add(std::string text) {
  if (!sorted_) return TStrings::Add(std::move(text));
  // After the lines that sort equal, so equal lines keep the order they came in.
  const std::string key = UpperNarrow(text);
  const auto position = std::upper_bound(
      items_.begin(), items_.end(), key,
      [](const std::string& k, const Item& item) { return k < UpperNarrow(item.text); });
  const int index = static_cast<int>(position - items_.begin());
  Insert(index, std::move(text));
  return index;
}

void TListControlItems::Insert(int index, std::string text) {
  if (index < 0 || index > Count()) IndexError(index);
  if (current_ >= index) ++current_;
  marks_.insert(marks_.begin() + index, 0);
  TStrings::Insert(index, std::move(text));
}

void TListControlItems::Delete(int index) {
  if (index < 0 || index >= Count()) IndexError(index);
  if (current_ == index)
    current_ = -1;
  else if (current_ > index)
    --current_;
  marks_.erase(marks_.begin() + index);
  TStrings::Delete(index);
}

void TListControlItems::Clear() {
  current_ = -1;
  marks_.clear();
  TStrings::Clear();
}

void TListControlItems::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TStrings*>(&source);
  if (other == nullptr) return TStrings::Assign(source);
  if (other == this) return;
  BeginUpdate();
  Clear();
  for (int i = 0; i < other->Count(); ++i)
    AddObject(other->Strings(i), other->Objects(i));
  EndUpdate();
}

void TListControlItems::SetCurrent(int index) {
  current_ = std::clamp(index, -1, Count() - 1);
}

bool TListControlItems::Marked(int index) const {
  return index >= 0 && index < Count() && marks_[static_cast<std::size_t>(index)] != 0;
}

void TListControlItems::SetMarked(int index, bool marked) {
  if (index < 0 || index >= Count()) IndexError(index);
  marks_[static_cast<std::size_t>(index)] = marked ? 1 : 0;
}

void TListControlItems::ClearMarks() {
  std::fill(marks_.begin(), marks_.end(), 0);
}

int TListControlItems::MarkCount() const {
  return static_cast<int>(std::count(marks_.begin(), marks_.end(), 1));
}

int TListControlItems::NextStartingWith(char key, int from) const {
  const int count = Count();
  for (int step = 1; step <= count; ++step) {
    const int index = (std::max(from, -1) + step) % count;
    const std::string& text = items_[static_cast<std::size_t>(index)].text;
    if (!text.empty() && UpperAscii(text[0]) == UpperAscii(key)) return index;
  }
  return -1;
}

int TListControlItems::FindPrefix(std::string_view prefix) const {
  if (prefix.empty()) return -1;
  for (int i = 0; i < Count(); ++i) {
    const std::string& text = items_[static_cast<std::size_t>(i)].text;
    if (text.size() >= prefix.size() &&
        SameNarrowText(std::string_view(text).substr(0, prefix.size()), prefix))
      return i;
  }
  return -1;
}

}  // namespace ox
