// The entry points of the bitmap resource library (OxBitmaps.dll), loaded by name by the
// glyph buttons. Only plain data crosses: the library writes pixels into the caller's
// buffer and the caller builds its own bitmap from them (LoadBmpInto), so nothing the
// library made outlives it once it is unloaded.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/Bitmap.h"

extern "C" {

// A picture the library fills: `capacity` pixels at `pixels` (0x00BBGGRR each, rows from
// the top). The library sets width and height, and writes the pixels when they fit.
struct OxBmpPixels {
  int width;
  int height;
  std::uint32_t* pixels;
  int capacity;
};

// The highest glyph number the library knows.
int GetMaxBmpID();
// Glyph number `id`: a strip of 16 x 16 cells, the first the normal image, a second
// (where there is one) the disabled image. False for a number without glyph or a null
// picture; true with only the size set when the pixels do not fit (ask again with room).
bool LoadBmp(int id, OxBmpPixels* picture);
}

namespace ox {

// The library's Windows name and the types of its entry points, for GetProcAddress.
inline constexpr const char* kBitmapLibraryName = "OxBitmaps.dll";
using GetMaxBmpIDProc = decltype(&GetMaxBmpID);
using LoadBmpProc = decltype(&LoadBmp);

// Fills `bitmap` with glyph `id` through the library's LoadBmp: the size first, then the
// pixels. False, with the bitmap unchanged, when the library has no such glyph.
inline bool LoadBmpInto(LoadBmpProc load, int id, TBitmap& bitmap) {
  OxBmpPixels picture{0, 0, nullptr, 0};
  if (!load(id, &picture) || picture.width <= 0 || picture.height <= 0) return false;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(picture.width) *
                                    static_cast<std::size_t>(picture.height));
  picture.pixels = pixels.data();
  picture.capacity = static_cast<int>(pixels.size());
  if (!load(id, &picture)) return false;
  bitmap.SetSize(picture.width, picture.height);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      bitmap.SetPixel(
          x, y,
          static_cast<TColor>(
              pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) +
                     static_cast<std::size_t>(x)]));
  return true;
}

}  // namespace ox
