// The entry points of the bitmap resource library (OxBitmaps.dll), loaded by name by the
// glyph buttons. The library and its callers share this header; passing a TBitmap
// across is safe because one toolchain builds both from the same ui/Bitmap.h, so the
// object's layout is the same on both sides.
#pragma once

#include "ui/Bitmap.h"

extern "C" {
// The highest glyph number the library knows.
int GetMaxBmpID();
// Fills `bitmap` with glyph number `id`: a strip of 16 x 16 cells, the first the normal
// image, a second (where there is one) the disabled image. False, with the bitmap
// unchanged, for a number without glyph or a null bitmap.
bool LoadBmp(int id, ox::TBitmap* bitmap);
}

namespace ox {

// The library's Windows name and the types of its entry points, for GetProcAddress.
inline constexpr const char* kBitmapLibraryName = "OxBitmaps.dll";
using GetMaxBmpIDProc = decltype(&GetMaxBmpID);
using LoadBmpProc = decltype(&LoadBmp);

}  // namespace ox
