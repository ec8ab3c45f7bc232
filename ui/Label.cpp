#include "ui/Label.h"

#include "ui/Canvas.h"
#include "ui/TakeFocus.h"

namespace ox {

const std::vector<std::string>& TextLayoutNames() {
  static const std::vector<std::string> names{"tlTop", "tlCenter", "tlBottom"};
  return names;
}

const ClassInfo& TLabel::StaticClassInfo() {
  using L = TLabel;
  static const ClassInfo info =
      ClassBuilder<L>("TLabel", &TGraphicControl::StaticClassInfo())
          .creatable()
          .enumeration("Alignment", &L::Alignment, &L::SetAlignment, AlignmentNames())
          .defaultValue(static_cast<int>(TAlignment::taLeftJustify))
          .property("AutoSize", &L::AutoSize, &L::SetAutoSize)
          .defaultValue(1)
          .object<TWinControl>("FocusControl", &L::FocusControl, &L::SetFocusControl)
          .enumeration("Layout", &L::Layout, &L::SetLayout, TextLayoutNames())
          .defaultValue(static_cast<int>(TTextLayout::tlTop))
          .property("ShowAccelChar", &L::ShowAccelChar, &L::SetShowAccelChar)
          .defaultValue(1)
          .property("Transparent", &L::Transparent, &L::SetTransparent)
          .defaultValue(0)
          .property("WordWrap", &L::WordWrap, &L::SetWordWrap)
          .defaultValue(0)
          .build();
  return info;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 65, 17);
  SetParentColor(true);
}

void TLabel::SetFocusControl(TWinControl* control) {
  focusControl_ = control;
}

void TLabel::SetAutoSize(bool value) {
  autoSize_ = value;
  AdjustBounds();
}

void TLabel::SetWordWrap(bool value) {
  wordWrap_ = value;
  AdjustBounds();
}

void TLabel::SetShowAccelChar(bool value) {
  showAccelChar_ = value;
  AdjustBounds();
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::AdjustBounds() {
  if (IsLoading() || !autoSize_) return;
  TCanvas canvas;
  canvas.Font().Assign(*Font());
  // An empty caption (or a lone accelerator mark) still takes one line.
  std::string text = Caption();
  if (text.empty() || (showAccelChar_ && text == "&")) text += ' ';
  const TRect rect = canvas.DrawText(text, {0, 0, Width(), Height()},
                                     DT_CALCRECT | (showAccelChar_ ? 0 : DT_NOPREFIX));
  const int width = wordWrap_ ? Width() : rect.Width();
  const int left = alignment_ == TAlignment::taRightJustify ? Left() + Width() - width : Left();
  SetBounds(left, Top(), width, rect.Height());
}

bool TLabel::DialogChar(char key, TShiftState) {
  TWinControl* target = focusControl_.get();
  if (target == nullptr || !Enabled() || !showAccelChar_ || !IsAccel(key, Caption()) ||
      !target->CanFocus())
    return false;
  return TakeFocus(*target);
}

}  // namespace ox
