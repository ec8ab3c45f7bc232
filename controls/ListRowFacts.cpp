#include "controls/ListRowFacts.h"

#include <algorithm>

namespace ox {

namespace {

int Length(const std::string& text) {
  return static_cast<int>(text.size());
}

}  // namespace

void ListRowFacts::Recount(const TListItems& items) {
  columns_.clear();
  maxSubItems_ = 0;
  unsure_ = false;
  for (int i = 0; i < items.Count(); ++i)
    Add(*items.Item(i));
  stamp_ = items.ChangeStamp();
}

void ListRowFacts::Add(const TListItem& row) {
  const TStrings& subItems = *row.SubItems();
  maxSubItems_ = std::max(maxSubItems_, subItems.Count());
  Note(0, Length(row.Caption()));
  for (int i = 0; i < subItems.Count(); ++i)
    Note(i + 1, Length(subItems.Strings(i)));
}

void ListRowFacts::Remove(const TListItem& row) {
  const TStrings& subItems = *row.SubItems();
  Drop(0, Length(row.Caption()));
  for (int i = 0; i < subItems.Count(); ++i)
    Drop(i + 1, Length(subItems.Strings(i)));
}

void ListRowFacts::Stamp(const TListItems& items) {
  if (unsure_)
    Recount(items);
  else
    stamp_ = items.ChangeStamp();
}

int ListRowFacts::Longest(int column) const {
  return column < static_cast<int>(columns_.size())
             ? columns_[static_cast<std::size_t>(column)].longest
             : 0;
}

void ListRowFacts::Note(int column, int length) {
  if (static_cast<std::size_t>(column) >= columns_.size())
    columns_.resize(static_cast<std::size_t>(column) + 1);
  Column& facts = columns_[static_cast<std::size_t>(column)];
  if (length > facts.longest) {
    facts = {length, 1};
  } else if (length == facts.longest && length > 0) {
    ++facts.reaching;
  }
}

void ListRowFacts::Drop(int column, int length) {
  if (static_cast<std::size_t>(column) >= columns_.size()) return;
  Column& facts = columns_[static_cast<std::size_t>(column)];
  if (length == facts.longest && length > 0 && --facts.reaching == 0) unsure_ = true;
}

}  // namespace ox
