#include "controls/BtChkBox.h"

#include <algorithm>
#include <string>

#include "platform/WinMessages.h"
#include "ui/Canvas.h"
#include "ui/TakeFocus.h"

namespace ox {

namespace {

constexpr int kBoxSide = 13;

// A 3-pixel-thick tick across columns 3 to 9 of a box: the top row of each column.
constexpr int kTickTop[] = {5, 6, 7, 6, 5, 4, 3};

}  // namespace

// No picture resources ship with the program, so the default boxes are drawn here,
// one 13 x 13 picture each (so the glyph counts stay 1): a grey-framed box, white
// inside (silver when grayed), with a tick for checked (black) and grayed (grey).
// Fuchsia, which the pictures do not use, is their transparent colour, so the frame
// survives transparent drawing.
void LoadDefaultCheckGlyph(TBitmap& bitmap, TCheckBoxState state) {
  bitmap.SetSize(kBoxSide, kBoxSide);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Brush().SetColor(state == TCheckBoxState::cbGrayed ? clSilver : clWhite);
  canvas.FillRect({0, 0, kBoxSide, kBoxSide});
  canvas.Brush().SetColor(clGray);
  canvas.FrameRect({0, 0, kBoxSide, kBoxSide});
  if (state != TCheckBoxState::cbUnchecked) {
    const TColor tick = state == TCheckBoxState::cbChecked ? clBlack : clGray;
    for (int column = 0; column < 7; ++column)
      for (int row = 0; row < 3; ++row)
        bitmap.SetPixel(3 + column, kTickTop[column] + row, tick);
  }
  bitmap.SetTransparentColor(clFuchsia);
}

const ClassInfo& TBitCheckBox::StaticClassInfo() {
  using B = TBitCheckBox;
  static const ClassInfo info =
      ClassBuilder<B>("TBitCheckBox", &TCustomControl::StaticClassInfo())
          .creatable()
          .enumeration("Alignment", &B::Alignment, &B::SetAlignment, LeftRightNames())
          .defaultValue(static_cast<int>(TAlignment::taRightJustify))
          .property("AllowGrayed", &B::AllowGrayed, &B::SetAllowGrayed)
          .defaultValue(0)
          .property("Checked", &B::Checked, &B::SetChecked)
          .defaultValue(0)
          .enumeration("State", &B::State, &B::SetState, CheckBoxStateNames())
          .defaultValue(0)
          .object<TBitmap>("CheckedGlyph", &B::CheckedGlyph, &B::SetCheckedGlyph)
          .object<TBitmap>("UncheckedGlyph", &B::UncheckedGlyph, &B::SetUncheckedGlyph)
          .object<TBitmap>("GrayedGlyph", &B::GrayedGlyph, &B::SetGrayedGlyph)
          .property("CheckedNumGlyphs", &B::CheckedNumGlyphs, &B::SetCheckedNumGlyphs)
          .defaultValue(1)
          .property("UncheckedNumGlyphs", &B::UncheckedNumGlyphs, &B::SetUncheckedNumGlyphs)
          .defaultValue(1)
          .property("GrayedNumGlyphs", &B::GrayedNumGlyphs, &B::SetGrayedNumGlyphs)
          .defaultValue(1)
          .property("Ctl3D", &B::Ctl3D, &B::SetCtl3D)
          .defaultValue(1)
          .property("ParentCtl3D", &B::ParentCtl3D, &B::SetParentCtl3D)
          .defaultValue(1)
          .build();
  return info;
}

TBitCheckBox::TBitCheckBox(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
  SetCheckedGlyph(nullptr);
  SetUncheckedGlyph(nullptr);
  SetGrayedGlyph(nullptr);
}

void TBitCheckBox::SetChecked(bool checked) {
  state_ = checked ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked;
}

void TBitCheckBox::SetAlignment(TAlignment value) {
  if (value != TAlignment::taCenter) alignment_ = value;
}

void TBitCheckBox::SetGlyph(GlyphIndex index, TBitmap* bitmap) {
  Glyph& glyph = glyphs_[index];
  if (bitmap != nullptr)
    glyph.bitmap->Assign(*bitmap);
  else
    LoadDefaultCheckGlyph(*glyph.bitmap, index == kChecked     ? TCheckBoxState::cbChecked
                                         : index == kUnchecked ? TCheckBoxState::cbUnchecked
                                                               : TCheckBoxState::cbGrayed);
  const int width = glyph.bitmap->Width();
  const int height = glyph.bitmap->Height();
  if (height > 0 && width % height == 0) SetNumGlyphs(index, width / height);
}

void TBitCheckBox::SetNumGlyphs(GlyphIndex index, int value) {
  glyphs_[index].count = std::clamp(value, 1, 2);
}

void TBitCheckBox::Toggle() {
  switch (state_) {
    case TCheckBoxState::cbUnchecked:
      state_ = allowGrayed_ ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked;
      break;
    case TCheckBoxState::cbChecked:
      state_ = TCheckBoxState::cbUnchecked;
      break;
    case TCheckBoxState::cbGrayed:
      state_ = TCheckBoxState::cbChecked;
      break;
  }
}

void TBitCheckBox::Click() {
  Toggle();
  TCustomControl::Click();
  TakeFocus(*this);
}

bool TBitCheckBox::DialogChar(char key, TShiftState shift) {
  if (!IsAccel(key, Caption()) || !CanFocus()) return TCustomControl::DialogChar(key, shift);
  if (TakeFocus(*this)) Toggle();
  return true;
}

void TBitCheckBox::DefaultKeyDown(std::uint16_t key, TShiftState shift) {
  if (key == VK_SPACE && (shift & (ssAlt | ssCtrl)) == 0) Click();
}

const TBitCheckBox::Glyph& TBitCheckBox::CurrentGlyph() const {
  switch (state_) {
    case TCheckBoxState::cbChecked:
      return glyphs_[kChecked];
    case TCheckBoxState::cbGrayed:
      return glyphs_[kGrayed];
    case TCheckBoxState::cbUnchecked:
      break;
  }
  return glyphs_[kUnchecked];
}

void TBitCheckBox::Paint(TCanvas& canvas) {
  const TRect client{0, 0, ClientWidth(), ClientHeight()};
  canvas.Font().Assign(*Font());
  canvas.Brush().SetColor(Color());
  canvas.FillRect(client);
  const Glyph& glyph = CurrentGlyph();
  const int cellWidth = glyph.bitmap->Width() / glyph.count;
  const TRect textRect = TextRect(canvas, cellWidth);
  PaintCaption(canvas, textRect);
  if (Focused())
    canvas.DrawFocusRect({std::max(textRect.Left - 1, 0), std::max(textRect.Top - 1, 0),
                          textRect.Right + 1, std::min(textRect.Bottom + 1, client.Bottom)});
  PaintGlyph(canvas, glyph, cellWidth);
}

// Right of the box (or at the left edge when the box is right), as wide as the
// caption without its accelerator mark, a little taller than a line; inside the client.
TRect TBitCheckBox::TextRect(const TCanvas& canvas, int cellWidth) const {
  const std::string& caption = Caption();
  const int textHeight = canvas.TextHeight(caption);
  TRect rect;
  rect.Left = alignment_ == TAlignment::taRightJustify ? cellWidth + 4 : 1;
  rect.Right = rect.Left + canvas.TextWidth(caption);
  if (caption.find('&') != std::string::npos) rect.Right -= canvas.TextWidth("&");
  rect.Top = (ClientHeight() - textHeight) / 2 - 2;
  rect.Bottom = rect.Top + textHeight + 3;
  rect.Left = std::clamp(rect.Left, 0, ClientWidth());
  rect.Right = std::clamp(rect.Right, rect.Left, ClientWidth());
  rect.Top = std::clamp(rect.Top, 0, ClientHeight());
  rect.Bottom = std::clamp(rect.Bottom, rect.Top, ClientHeight());
  return rect;
}

// Enabled: in the font colour. Disabled: embossed (with Ctl3D) in the highlight
// colour one pixel down and right, then in the grayed-text colour.
void TBitCheckBox::PaintCaption(TCanvas& canvas, const TRect& textRect) const {
  constexpr unsigned kFormat = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  if (Enabled()) {
    canvas.DrawText(Caption(), textRect, kFormat);
    return;
  }
  if (ctl3D_) {
    canvas.Font().SetColor(clBtnHighlight);
    canvas.DrawText(Caption(),
                    {textRect.Left + 1, textRect.Top + 1, textRect.Right + 1, textRect.Bottom + 1},
                    kFormat);
  }
  canvas.Font().SetColor(clGrayText);
  canvas.DrawText(Caption(), textRect, kFormat);
}

// The enabled cell, or the disabled one when the glyph has it, drawn transparently at
// the box's side, vertically centred.
void TBitCheckBox::PaintGlyph(TCanvas& canvas, const Glyph& glyph, int cellWidth) const {
  const int height = glyph.bitmap->Height();
  if (cellWidth <= 0 || height <= 0) return;
  const int source = !Enabled() && glyph.count == 2 ? cellWidth : 0;
  TBitmap cell;
  cell.SetSize(cellWidth, height);
  cell.Canvas().CopyRect({0, 0, cellWidth, height}, glyph.bitmap->Canvas(),
                         {source, 0, source + cellWidth, height});
  cell.SetTransparentColor(glyph.bitmap->TransparentColor());
  cell.SetTransparent(true);
  const int left = alignment_ == TAlignment::taRightJustify ? 0 : ClientWidth() - cellWidth;
  canvas.Draw(left, (ClientHeight() - height) / 2, cell);
}

}  // namespace ox
