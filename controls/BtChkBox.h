// The check box drawn from bitmaps: one glyph per state (checked, unchecked, grayed),
// each holding the enabled picture and optionally the disabled one beside it. It is a
// custom control that paints everything itself: the box, the caption and the focus.
#pragma once

#include <memory>

#include "ui/Bitmap.h"
#include "ui/CheckBox.h"
#include "ui/Controls.h"

namespace ox {

class TBitCheckBox : public TCustomControl {
 public:
  OX_CLASS_INFO()
  explicit TBitCheckBox(TComponent* owner);

  TCheckBoxState State() const { return state_; }
  // Setting State or Checked fires no event.
  void SetState(TCheckBoxState state) { state_ = state; }
  bool Checked() const { return state_ == TCheckBoxState::cbChecked; }
  void SetChecked(bool checked);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool value) { allowGrayed_ = value; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool value) { ctl3D_ = value; }
  bool ParentCtl3D() const { return parentCtl3D_; }
  void SetParentCtl3D(bool value) { parentCtl3D_ = value; }

  // Null loads the built-in picture of the state; a bitmap is copied. A bitmap whose
  // width is a whole multiple of its height sets the state's glyph count (1 or 2).
  TBitmap* CheckedGlyph() const { return glyphs_[kChecked].bitmap.get(); }
  void SetCheckedGlyph(TBitmap* bitmap) { SetGlyph(kChecked, bitmap); }
  TBitmap* UncheckedGlyph() const { return glyphs_[kUnchecked].bitmap.get(); }
  void SetUncheckedGlyph(TBitmap* bitmap) { SetGlyph(kUnchecked, bitmap); }
  TBitmap* GrayedGlyph() const { return glyphs_[kGrayed].bitmap.get(); }
  void SetGrayedGlyph(TBitmap* bitmap) { SetGlyph(kGrayed, bitmap); }
  // Kept within 1 to 2.
  int CheckedNumGlyphs() const { return glyphs_[kChecked].count; }
  void SetCheckedNumGlyphs(int value) { SetNumGlyphs(kChecked, value); }
  int UncheckedNumGlyphs() const { return glyphs_[kUnchecked].count; }
  void SetUncheckedNumGlyphs(int value) { SetNumGlyphs(kUnchecked, value); }
  int GrayedNumGlyphs() const { return glyphs_[kGrayed].count; }
  void SetGrayedNumGlyphs(int value) { SetNumGlyphs(kGrayed, value); }

  // The next state: unchecked, grayed (with AllowGrayed), checked, unchecked.
  void Toggle();
  // Toggles, fires OnClick and focuses the box when it can take the focus.
  void Click() override;
  // The caption's accelerator focuses the box and toggles it, without OnClick.
  bool DialogChar(char key, TShiftState shift) override;
  void Paint(TCanvas& canvas) override;

 protected:
  void DefaultKeyDown(std::uint16_t key, TShiftState shift) override;

 private:
  enum GlyphIndex { kChecked, kUnchecked, kGrayed };
  struct Glyph {
    std::unique_ptr<TBitmap> bitmap = std::make_unique<TBitmap>();
    int count = 1;
  };

  void SetGlyph(GlyphIndex index, TBitmap* bitmap);
  void SetNumGlyphs(GlyphIndex index, int value);
  const Glyph& CurrentGlyph() const;
  TRect TextRect(const TCanvas& canvas, int cellWidth) const;
  void PaintCaption(TCanvas& canvas, const TRect& textRect) const;
  void PaintGlyph(TCanvas& canvas, const Glyph& glyph, int cellWidth) const;

  TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
  bool allowGrayed_ = false;
  TAlignment alignment_ = TAlignment::taRightJustify;
  bool ctl3D_ = true;
  bool parentCtl3D_ = true;
  Glyph glyphs_[3];
};

// The built-in picture of a state, standing for the program's resources named
// "CHECKED", "UNCHECKED" and "GRAYED": one 13 x 13 box.
void LoadDefaultCheckGlyph(TBitmap& bitmap, TCheckBoxState state);

}  // namespace ox
