#include "controls/GSpdBtn.h"

#include <memory>
#include <string>

#include "outside/bitmaps/OxBitmaps.h"
#include "platform/CodePage.h"
#include "platform/Library.h"
#include "ui/Dialogs.h"

namespace ox {

const ClassInfo& TGSpeedButton::StaticClassInfo() {
  using S = TGSpeedButton;
  static const ClassInfo info = ClassBuilder<S>("TGSpeedButton", &TSpeedButton::StaticClassInfo())
                                    .creatable()
                                    .property("GlyphIndex", &S::GlyphIndex, &S::SetGlyphIndex)
                                    .defaultValue(0)
                                    .property("HintIndex", &S::HintIndex, &S::SetHintIndex)
                                    .build();
  return info;
}

TGSpeedButton::TGSpeedButton(TComponent* owner) : TSpeedButton(owner) {}

bool TGSpeedButton::ChangeGlyphIndex(int value) {
  if (value == glyphIndex_) return true;
  glyphIndex_ = value;
  SetCaption(std::to_string(value));
  if (LoadGlyph()) return true;
  SetGlyph(nullptr);
  MessageDlg(Gb("读取 BMP 发生错误"), mtError, {mbOK});
  return false;
}

bool TGSpeedButton::LoadGlyph() {
  if (glyphIndex_ == 0) {
    SetGlyph(nullptr);
    return true;
  }
  const LibraryHandle library(LoadLibrary(kBitmapLibraryName));
  if (!library) return false;
  auto maxId = reinterpret_cast<GetMaxBmpIDProc>(GetProcAddress(library.get(), "GetMaxBmpID"));
  auto load = reinterpret_cast<LoadBmpProc>(GetProcAddress(library.get(), "LoadBmp"));
  if (maxId == nullptr || load == nullptr) return false;
  if (glyphIndex_ > maxId()) {
    SetGlyph(nullptr);
    return true;
  }
  if (!LoadBmpInto(load, glyphIndex_, *Glyph()) || Glyph()->Height() == 0) return false;
  SetCaption("");
  SetNumGlyphs(Glyph()->Width() / Glyph()->Height());
  return true;
}

}  // namespace ox
