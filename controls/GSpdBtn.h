// The glyph button: a speed button whose glyph is fetched by number from the bitmap
// resource library (OxBitmaps.dll).
#pragma once

#include "ui/SpeedButton.h"

namespace ox {

class TGSpeedButton : public TSpeedButton {
 public:
  OX_CLASS_INFO()
  explicit TGSpeedButton(TComponent* owner);

  int GlyphIndex() const { return glyphIndex_; }
  // Stores the number and shows it as the caption, then loads its glyph; a number of 0
  // or above the library's highest releases the glyph. A glyph that cannot be loaded
  // is reported ("读取 BMP 发生错误") and leaves the button without glyph.
  void SetGlyphIndex(int value) { ChangeGlyphIndex(value); }
  // SetGlyphIndex, answering whether the glyph could be loaded (or released).
  bool ChangeGlyphIndex(int value);
  int HintIndex() const { return hintIndex_; }
  void SetHintIndex(int value) { hintIndex_ = value; }

 private:
  // Loads glyph `glyphIndex_` through the library, opened for this one use; false on
  // any failure.
  bool LoadGlyph();

  int glyphIndex_ = 0;
  int hintIndex_ = 0;
};

}  // namespace ox
