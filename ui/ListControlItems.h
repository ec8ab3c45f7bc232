// The lines of a list box or a combo box, kept as the window control keeps them: a
// sorted control adds each line in order (ignoring case), and the current line (the
// selected line, or the caret line of a multi-select list box) and the selection
// marks stay on the same lines through inserts, deletes and sorting. Deleting the
// current line leaves none current; clearing the lines clears the selection.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/Classes.h"

namespace ox {

class TListControlItems : public TStrings {
 public:
  bool Sorted() const { return sorted_; }
  // Sorting a list sorts its lines at once.
  void SetSorted(bool sorted);

  int Add(std::string text) override;
  // Inserts at `index` even in a sorted list, as the window control does.
  void Insert(int index, std::string text) override;
  void Delete(int index) override;
  void Clear() override;
  // Clears the lines and adds those of `source` (in order when sorted).
  void Assign(const TPersistent& source) override;

  // The current line, or -1.
  int Current() const { return current_; }
  // Sets the current line, clamped to -1 .. the last line.
  void SetCurrent(int index);
  // The selection mark of a line (multi-select list boxes); out of range: false.
  bool Marked(int index) const;
  void SetMarked(int index, bool marked);
  void ClearMarks();
  int MarkCount() const;

  // The first line after `from`, wrapping around, that starts with `key` (ignoring
  // ASCII case); -1 when none.
  int NextStartingWith(char key, int from) const;
  // The first line that begins with `prefix` (ignoring ASCII case); -1 when none or
  // when the prefix is empty.
  int FindPrefix(std::string_view prefix) const;

 private:
  bool sorted_ = false;
  int current_ = -1;
  std::vector<char> marks_;  // parallel to the lines
};

}  // namespace ox
