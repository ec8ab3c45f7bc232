// The glyphs of the bitmap resource library, drawn from character pictures: one
// character a pixel, '.' the background (also the bottom-left pixel, so a glyph drawn
// transparent leaves it out).
#include "outside/bitmaps/OxBitmaps.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr int kCell = 16;
constexpr std::string_view kPalette = ".kwbyrgn";
constexpr std::uint32_t kBackground = 0x00FF00FF;
constexpr std::uint32_t kDisabled = 0x00808080;

struct Glyph {
  int id;
  int cells;  // 2: a disabled image follows the normal one
  std::array<std::string_view, kCell> rows;
};

constexpr Glyph kGlyphs[] = {
    {4,  // arrow back: clear, delete
     2,
     {"................", "................", "................", "......k.........",
      ".....kk.........", "....kbk.........", "...kbbkkkkkkkk..", "..kbbbbbbbbbbk..",
      ".kbbbbbbbbbbbk..", "..kbbbbbbbbbbk..", "...kbbkkkkkkkk..", "....kbk.........",
      ".....kk.........", "......k.........", "................", "................"}},
    {8,  // ellipsis: open the lookup window
     1,
     {"................", "................", "................", "................",
      "................", "................", "................", "..kk...kk...kk..",
      "..kk...kk...kk..", "................", "................", "................",
      "................", "................", "................", "................"}},
    {9,  // calendar: date lookup
     1,
     {"................", "....k.....k.....", ".kkkkkkkkkkkkkk.", ".krrrrrrrrrrrrk.",
      ".krrrrrrrrrrrrk.", ".kkkkkkkkkkkkkk.", ".kwwwwwwwwwwwwk.", ".kwkwkwkwkwkwwk.",
      ".kwwwwwwwwwwwwk.", ".kwkwkwkwkwkwwk.", ".kwwwwwwwwwwwwk.", ".kwkwkwkwkwrwwk.",
      ".kwwwwwwwwwwwwk.", ".kkkkkkkkkkkkkk.", "................", "................"}},
    {39,  // envelope: notification
     1,
     {"................", "................", "................", ".kkkkkkkkkkkkkk.",
      ".kkwwwwwwwwwwkk.", ".kwkwwwwwwwwkwk.", ".kwwkwwwwwwkwwk.", ".kwwwkwwwwkwwwk.",
      ".kwwwwkwwkwwwwk.", ".kwwwwwkkwwwwwk.", ".kwwwwwwwwwwwwk.", ".kwwwwwwwwwwwwk.",
      ".kkkkkkkkkkkkkk.", "................", "................", "................"}},
    {47,  // folder
     1,
     {"................", "................", "................", ".kkkkk..........",
      "kyyyyyk.........", "kyyyyyykkkkkkk..", "kyyyyyyyyyyyyyk.", "kyyyyyyyyyyyyyk.",
      "kyyyyyyyyyyyyyk.", "kyyyyyyyyyyyyyk.", "kyyyyyyyyyyyyyk.", "kyyyyyyyyyyyyyk.",
      "kyyyyyyyyyyyyyk.", "knnnnnnnnnnnnnk.", "kkkkkkkkkkkkkkk.", "................"}},
    {85,  // check mark: save, confirm
     1,
     {"................", "................", "................", ".............gg.",
      "............ggg.", "...........ggg..", "..........ggg...", ".........ggg....",
      ".gg.....ggg.....", ".ggg...ggg......", "..ggg.ggg.......", "...ggggg........",
      "....ggg.........", ".....g..........", "................", "................"}},
};

// Every row a full cell wide, in palette colours, with a background bottom-left pixel.
constexpr bool WellFormed() {
  for (const Glyph& glyph : kGlyphs) {
    if (glyph.cells < 1 || glyph.cells > 2 || glyph.rows[kCell - 1][0] != '.') return false;
    for (std::string_view row : glyph.rows)
      if (row.size() != kCell || row.find_first_not_of(kPalette) != std::string_view::npos)
        return false;
  }
  return true;
}
static_assert(WellFormed());

std::uint32_t ColorOf(char c) {
  switch (c) {
    case 'k':
      return 0x00000000;
    case 'w':
      return 0x00FFFFFF;
    case 'b':
      return 0x00800000;
    case 'y':
      return 0x0000FFFF;
    case 'r':
      return 0x000000FF;
    case 'g':
      return 0x00008000;
    case 'n':
      return 0x00808080;
    default:
      return kBackground;
  }
}

const Glyph* FindGlyph(int id) {
  const auto* found = std::find_if(std::begin(kGlyphs), std::end(kGlyphs),
                                   [id](const Glyph& glyph) { return glyph.id == id; });
  return found == std::end(kGlyphs) ? nullptr : found;
}

}  // namespace

int GetMaxBmpID() {
  return std::max_element(std::begin(kGlyphs), std::end(kGlyphs),
                          [](const Glyph& a, const Glyph& b) { return a.id < b.id; })
      ->id;
}

bool LoadBmp(int id, OxBmpPixels* picture) {
  const Glyph* glyph = FindGlyph(id);
  if (glyph == nullptr || picture == nullptr) return false;
  picture->width = kCell * glyph->cells;
  picture->height = kCell;
  if (picture->pixels == nullptr || picture->capacity < picture->width * picture->height)
    return true;
  for (int cell = 0; cell < glyph->cells; ++cell) {
    for (int y = 0; y < kCell; ++y) {
      for (int x = 0; x < kCell; ++x) {
        const char c = glyph->rows[y][x];
        // The disabled image is the normal one in grey.
        const bool grey = cell > 0 && c != '.';
        picture->pixels[y * picture->width + cell * kCell + x] = grey ? kDisabled : ColorOf(c);
      }
    }
  }
  return true;
}
