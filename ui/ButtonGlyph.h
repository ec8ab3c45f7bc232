// The glyph part of bitmap buttons and speed buttons: a bitmap holding one to four
// images side by side (up, disabled, pressed, down), their number, and where the glyph
// sits beside the caption.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/Bitmap.h"

namespace ox {

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TButtonGlyph {
 public:
  TButtonGlyph();
  ~TButtonGlyph();
  TButtonGlyph(const TButtonGlyph&) = delete;
  TButtonGlyph& operator=(const TButtonGlyph&) = delete;

  TBitmap* Glyph() const { return glyph_.get(); }
  // Copies the bitmap (null: none). A bitmap whose width is a whole multiple of its
  // height holds that many images: NumGlyphs follows, up to four (more count as one).
  void SetGlyph(TBitmap* bitmap);
  int NumGlyphs() const { return numGlyphs_; }
  // Kept within 1 to 4.
  void SetNumGlyphs(int value);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout value) { layout_ = value; }
  // Pixels between the edge and the glyph (-1: the glyph and caption are centred).
  int Margin() const { return margin_; }
  void SetMargin(int value) { margin_ = value < -1 ? -1 : value; }
  // Pixels between the glyph and the caption (-1: the caption is centred in the rest).
  int Spacing() const { return spacing_; }
  void SetSpacing(int value) { spacing_ = value; }

 private:
  std::unique_ptr<TBitmap> glyph_;
  int numGlyphs_ = 1;
  TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
};

const std::vector<std::string>& ButtonLayoutNames();

}  // namespace ox
