#include "ui/ButtonGlyph.h"

#include <algorithm>

namespace ox {

const std::vector<std::string>& ButtonLayoutNames() {
  static const std::vector<std::string> names{"blGlyphLeft", "blGlyphRight", "blGlyphTop",
                                              "blGlyphBottom"};
  return names;
}

TButtonGlyph::TButtonGlyph() : glyph_(std::make_unique<TBitmap>()) {}
TButtonGlyph::~TButtonGlyph() = default;

void TButtonGlyph::SetGlyph(TBitmap* bitmap) {
  if (bitmap == nullptr) {
    glyph_->SetSize(0, 0);
    return;
  }
  glyph_->Assign(*bitmap);
  const int height = glyph_->Height();
  if (height > 0 && glyph_->Width() % height == 0) {
    const int images = glyph_->Width() / height;
    SetNumGlyphs(images > 4 ? 1 : images);
  }
}

void TButtonGlyph::SetNumGlyphs(int value) {
  numGlyphs_ = std::clamp(value, 1, 4);
}

}  // namespace ox
