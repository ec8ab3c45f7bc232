#include "ui/Memo.h"

#include <algorithm>

#include "ui/Canvas.h"

namespace ox {

const std::vector<std::string>& ScrollStyleNames() {
  static const std::vector<std::string> names{"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};
  return names;
}

// ---- TCustomMemo -----------------------------------------------------------

const ClassInfo& TCustomMemo::StaticClassInfo() {
  using M = TCustomMemo;
  static const ClassInfo info =
      ClassBuilder<M>("TCustomMemo", &TCustomEdit::StaticClassInfo())
          .enumeration("Alignment", &M::Alignment, &M::SetAlignment, AlignmentNames())
          .defaultValue(static_cast<int>(TAlignment::taLeftJustify))
          .object<TStrings>("Lines", &M::Lines, &M::SetLines)
          .enumeration("ScrollBars", &M::ScrollBars, &M::SetScrollBars, ScrollStyleNames())
          .defaultValue(static_cast<int>(TScrollStyle::ssNone))
          .property("WantReturns", &M::WantReturns, &M::SetWantReturns)
          .defaultValue(1)
          .property("WantTabs", &M::WantTabs, &M::SetWantTabs)
          .defaultValue(0)
          .property("WordWrap", &M::WordWrap, &M::SetWordWrap)
          .defaultValue(1)
          .build();
  return info;
}

TCustomMemo::TCustomMemo(TComponent* owner)
    : TCustomEdit(owner), lines_(std::make_unique<TStringList>()) {
  SetBounds(0, 0, 185, 89);
  lines_->OnChange = MakeMethod<&TCustomMemo::LinesChanged>(this);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::SetLines(TStrings* lines) {
  if (lines != nullptr) lines_->Assign(*lines);
}

void TCustomMemo::LinesChanged(TObject*) {
  if (syncingLines_) return;
  // A text that ended with a line break (or was empty) keeps ending with one, as lines
  // added to a memo do.
  const bool trailingBreak = text_.empty() || text_.back() == '\n' || text_.back() == '\r';
  std::string text = lines_->Text();
  if (!trailingBreak && text.size() >= 2) text.resize(text.size() - 2);
  // The same text can come from other lines (a line holding a break): split it again.
  if (text == text_) return SyncLines();
  SetText(text);
}

void TCustomMemo::SyncLines() {
  syncingLines_ = true;
  lines_->SetText(text_);
  syncingLines_ = false;
}

void TCustomMemo::TextChanged() {
  SyncLines();
  TCustomEdit::TextChanged();
}

std::vector<TCustomMemo::LineSpan> TCustomMemo::LineSpans() const {
  std::vector<LineSpan> spans;
  int start = 0;
  const int size = static_cast<int>(text_.size());
  for (int pos = 0; pos < size; ++pos) {
    const char c = text_[static_cast<std::size_t>(pos)];
    if (c != '\r' && c != '\n') continue;
    spans.push_back({start, pos});
    if (c == '\r' && pos + 1 < size && text_[static_cast<std::size_t>(pos) + 1] == '\n') ++pos;
    start = pos + 1;
  }
  spans.push_back({start, size});
  return spans;
}

int TCustomMemo::LineOf(const std::vector<LineSpan>& spans, int pos) const {
  const auto after = std::upper_bound(spans.begin(), spans.end(), pos,
                                      [](int p, const LineSpan& span) { return p < span.start; });
  return static_cast<int>(after - spans.begin()) - 1;
}

int TCustomMemo::PositionInLine(const LineSpan& line, int column) const {
  const int target = std::min(line.start + std::max(column, 0), line.end);
  int pos = line.start;
  while (pos < target && NextPosition(pos) <= target)
    pos = NextPosition(pos);
  return pos;
}

TPoint TCustomMemo::CaretPos() const {
  const std::vector<LineSpan> spans = LineSpans();
  const int line = LineOf(spans, Caret());
  return {Caret() - spans[static_cast<std::size_t>(line)].start, line};
}

int TCustomMemo::NextPosition(int pos) const {
  const auto at = static_cast<std::size_t>(pos);
  if (pos >= 0 && at + 1 < text_.size() && text_[at] == '\r' && text_[at + 1] == '\n')
    return pos + 2;
  return TCustomEdit::NextPosition(pos);
}

bool TCustomMemo::WantsKey(std::uint16_t key, TShiftState shift) const {
  return TCustomEdit::WantsKey(key, shift) || (key == VK_RETURN && wantReturns_) ||
         (key == VK_TAB && wantTabs_);
}

void TCustomMemo::DoEnter() {
  TWinControl::DoEnter();
}

void TCustomMemo::DefaultKeyDown(std::uint16_t key, TShiftState shift) {
  const std::vector<LineSpan> spans = LineSpans();
  const int line = LineOf(spans, Caret());
  const LineSpan& current = spans[static_cast<std::size_t>(line)];
  auto moveTo = [&](int pos) { SetSelection((shift & ssShift) ? Anchor() : pos, pos); };
  const bool ctrl = (shift & ssCtrl) != 0;
  switch (key) {
    case VK_UP:
    case VK_DOWN: {
      const int target = key == VK_UP ? line - 1 : line + 1;
      if (target < 0 || target >= static_cast<int>(spans.size())) return;
      return moveTo(
          PositionInLine(spans[static_cast<std::size_t>(target)], Caret() - current.start));
    }
    case VK_HOME:
      return moveTo(ctrl ? 0 : current.start);
    case VK_END:
      return moveTo(ctrl ? static_cast<int>(text_.size()) : current.end);
    default:
      return TCustomEdit::DefaultKeyDown(key, shift);
  }
}

void TCustomMemo::TypeControl(char key) {
  if (key == '\r') {
    if (wantReturns_) ReplaceSelectionByUser("\r\n");
  } else if (key == '\t') {
    if (wantTabs_) ReplaceSelectionByUser("\t");
  } else {
    TCustomEdit::TypeControl(key);
  }
}

int TCustomMemo::PositionAt(int x, int y) const {
  TCanvas canvas;
  canvas.Font().Assign(*Font());
  const int lineHeight = std::max(canvas.TextHeight("W"), 1);
  const std::vector<LineSpan> spans = LineSpans();
  const int line = std::clamp((y - kTextInset) / lineHeight, 0, static_cast<int>(spans.size()) - 1);
  const LineSpan& span = spans[static_cast<std::size_t>(line)];
  return NearestPosition(span.start, span.end, x);
}

// ---- TMemo -----------------------------------------------------------------

const ClassInfo& TMemo::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TMemo>("TMemo", &TCustomMemo::StaticClassInfo()).creatable().build();
  return info;
}

}  // namespace ox
