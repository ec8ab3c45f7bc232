// What a selection panel knows of its rows without walking them: the most sub-items a
// row has and the longest text of each column (with how many rows reach it), kept up
// to date as rows come and go. The facts hold for the rows as they were when stamped;
// any other change of the list moves its change stamp and calls for a recount.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/ListView.h"

namespace ox {

class ListRowFacts {
 public:
  // Whether nothing changed the rows since the facts were stamped.
  bool CurrentFor(const TListItems& items) const { return stamp_ == items.ChangeStamp(); }
  void Recount(const TListItems& items);
  // A row came.
  void Add(const TListItem& row);
  // A row is about to go. Every row has as many sub-items as the most (the panel pads
  // them), so that count stays; a column whose last longest text goes needs a recount.
  void Remove(const TListItem& row);
  // Takes the rows as they are now: recounts when a removal left the facts unsure.
  void Stamp(const TListItems& items);
  void Invalidate() { stamp_ = kNone; }

  int MaxSubItems() const { return maxSubItems_; }
  // The length in bytes of the longest text of a column (0 = the captions).
  int Longest(int column) const;

 private:
  static constexpr std::uint64_t kNone = ~std::uint64_t{0};
  struct Column {
    int longest = 0;
    int reaching = 0;  // rows whose text is that long (counted while longest > 0)
  };
  void Note(int column, int length);
  void Drop(int column, int length);

  std::vector<Column> columns_;
  int maxSubItems_ = 0;
  bool unsure_ = false;
  std::uint64_t stamp_ = kNone;
};

}  // namespace ox
