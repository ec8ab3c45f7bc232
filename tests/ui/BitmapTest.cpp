#include <gtest/gtest.h>

#include <functional>

#include "platform/WinPath.h"
#include "tests/support/TestMachine.h"
#include "ui/Bitmap.h"

namespace ox {
namespace {

using Pixels = std::vector<std::uint32_t>;

std::string Le(std::uint32_t value, int size) {
  std::string bytes;
  for (int i = 0; i < size; ++i)
    bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

void Patch(std::string& bytes, std::size_t pos, std::uint32_t value, int size) {
  bytes.replace(pos, static_cast<std::size_t>(size), Le(value, size));
}

// A .bmp file written field by field. `rows` (from the top) hold colour table indices,
// or colours (0x00BBGGRR) at 24 bits.
struct BmpFile {
  int width = 0;
  int bits = 24;
  std::vector<std::uint32_t> palette;
  std::vector<Pixels> rows;
  bool core = false;     // the 12-byte header of old files
  bool topDown = false;  // rows stored from the top (a negative height)

  std::string Bytes() const {
    const auto height = static_cast<int>(rows.size());
    const int stride = (width * bits + 31) / 32 * 4;
    std::string data;
    for (int fileRow = 0; fileRow < height; ++fileRow) {
      const Pixels& row = rows[static_cast<std::size_t>(topDown ? fileRow : height - 1 - fileRow)];
      std::string packed(static_cast<std::size_t>(stride), '\0');
      for (int x = 0; x < width; ++x) {
        const std::uint32_t v = row[static_cast<std::size_t>(x)];
        if (bits == 24) {
          const char bgr[] = {static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                              static_cast<char>(v)};
          packed.replace(static_cast<std::size_t>(x) * 3, 3, bgr, 3);
        } else {
          const int bit = x * bits;
          packed[static_cast<std::size_t>(bit / 8)] |= static_cast<char>(v << (8 - bits - bit % 8));
        }
      }
      data += packed;
    }
    // An old header has no colour count: its table always has an entry for every index.
    std::vector<std::uint32_t> entries = palette;
    if (core && bits <= 8) entries.resize(std::size_t{1} << bits);
    std::string table;
    for (const std::uint32_t colour : entries) {
      table += {static_cast<char>(colour >> 16), static_cast<char>(colour >> 8),
                static_cast<char>(colour)};
      if (!core) table += '\0';
    }
    std::string info;
    if (core) {
      info = Le(12, 4) + Le(static_cast<std::uint32_t>(width), 2) +
             Le(static_cast<std::uint32_t>(height), 2) + Le(1, 2) +
             Le(static_cast<std::uint32_t>(bits), 2);
    } else {
      info = Le(40, 4) + Le(static_cast<std::uint32_t>(width), 4) +
             Le(static_cast<std::uint32_t>(topDown ? -height : height), 4) + Le(1, 2) +
             Le(static_cast<std::uint32_t>(bits), 2) + Le(0, 4) +
             Le(static_cast<std::uint32_t>(data.size()), 4) + Le(0, 4) + Le(0, 4) +
             Le(static_cast<std::uint32_t>(palette.size()), 4) + Le(0, 4);
    }
    const std::size_t offset = 14 + info.size() + table.size();
    return "BM" + Le(static_cast<std::uint32_t>(offset + data.size()), 4) + Le(0, 4) +
           Le(static_cast<std::uint32_t>(offset), 4) + info + table + data;
  }
};

std::vector<Pixels> Rows(const TBitmap& bitmap) {
  std::vector<Pixels> rows;
  for (int y = 0; y < bitmap.Height(); ++y) {
    rows.emplace_back();
    for (int x = 0; x < bitmap.Width(); ++x)
      rows.back().push_back(static_cast<std::uint32_t>(bitmap.Pixel(x, y)));
  }
  return rows;
}

void Fill(TBitmap& bitmap, const std::vector<Pixels>& rows) {
  bitmap.SetSize(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      bitmap.SetPixel(
          x, y,
          static_cast<TColor>(rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]));
}

constexpr std::uint32_t W = 0xFFFFFF, K = 0x000000, R = 0x0000FF, G = 0x00FF00, B = 0xFF0000;

TEST(Bitmap, ResizingKeepsWhatStaysInsideAndAddsWhite) {
  TBitmap bitmap;
  EXPECT_TRUE(bitmap.Empty());
  Fill(bitmap, {{R, G, B}, {K, K, K}});
  bitmap.SetSize(4, 1);
  EXPECT_EQ(Rows(bitmap), (std::vector<Pixels>{{R, G, B, W}}));
  bitmap.SetHeight(2);
  EXPECT_EQ(Rows(bitmap), (std::vector<Pixels>{{R, G, B, W}, {W, W, W, W}}));
  EXPECT_THROW(bitmap.SetWidth(TBitmap::kMaxSide + 1), EInvalidGraphic);
  EXPECT_EQ(bitmap.Width(), 4);
  bitmap.SetWidth(-5);
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_EQ(bitmap.Height(), 2);
}

TEST(Bitmap, TransparentColourIsTheBottomLeftPixelUntilFixed) {
  TBitmap bitmap;
  EXPECT_EQ(bitmap.TransparentColor(), -1);  // no pixels
  Fill(bitmap, {{R, G}, {B, W}});
  EXPECT_EQ(bitmap.TransparentMode(), TTransparentMode::tmAuto);
  EXPECT_EQ(bitmap.TransparentColor(), static_cast<TColor>(B));
  bitmap.Canvas().SetPixels(0, 1, clLime);
  EXPECT_EQ(bitmap.TransparentColor(), clLime);

  bitmap.SetTransparentColor(clBtnFace);
  EXPECT_EQ(bitmap.TransparentMode(), TTransparentMode::tmFixed);
  EXPECT_EQ(bitmap.TransparentColor(), 0xC8D0D4);
  bitmap.SetTransparentMode(TTransparentMode::tmAuto);
  EXPECT_EQ(bitmap.TransparentColor(), clLime);
  // Fixing the mode keeps the colour of now, whatever the pixel becomes.
  bitmap.SetTransparentMode(TTransparentMode::tmFixed);
  bitmap.SetPixel(0, 1, clRed);
  EXPECT_EQ(bitmap.TransparentColor(), clLime);
  bitmap.SetTransparentColor(clDefault);
  EXPECT_EQ(bitmap.TransparentMode(), TTransparentMode::tmAuto);
  EXPECT_EQ(bitmap.TransparentColor(), clRed);
  bitmap.SetMonochrome(true);
  EXPECT_EQ(bitmap.TransparentColor(), clWhite);
}

// Counts OnChange calls.
struct ChangeCounter {
  int count = 0;
  void Changed(TObject*) { ++count; }
};

TEST(Bitmap, AssignSharesPixelsUntilEitherSideIsDrawnOn) {
  TBitmap original;
  Fill(original, {{R, G}, {B, K}});
  original.SetTransparent(true);
  original.SetTransparentColor(clRed);
  original.SetPixelFormat(TPixelFormat::pf8bit);
  TBitmap copy;
  ChangeCounter counter;
  copy.OnChange = MakeMethod<&ChangeCounter::Changed>(&counter);
  copy.Assign(original);
  EXPECT_EQ(counter.count, 1);
  EXPECT_EQ(Rows(copy), Rows(original));
  EXPECT_TRUE(copy.Transparent());
  EXPECT_EQ(copy.TransparentMode(), TTransparentMode::tmFixed);
  EXPECT_EQ(copy.TransparentColor(), clRed);
  EXPECT_EQ(copy.PixelFormat(), TPixelFormat::pf8bit);

  copy.Canvas().SetPixels(0, 0, clWhite);
  original.Canvas().Brush().SetColor(clBlack);
  original.Canvas().FillRect({0, 1, 2, 2});
  EXPECT_EQ(Rows(copy), (std::vector<Pixels>{{W, G}, {B, K}}));
  EXPECT_EQ(Rows(original), (std::vector<Pixels>{{R, G}, {K, K}}));
  EXPECT_EQ(counter.count, 2);  // the canvas reports its drawing

  TFont font;
  EXPECT_THROW(copy.Assign(font), EConvertError);
}

TEST(Bitmap, MaskIsWhiteWhereTheColourIsAndBlackElsewhere) {
  TBitmap bitmap;
  Fill(bitmap, {{R, G, R}, {0xC8D0D4, R, B}});
  TBitmap mask;
  mask.Assign(bitmap);
  mask.Mask(clRed);
  EXPECT_TRUE(mask.Monochrome());
  EXPECT_EQ(Rows(mask), (std::vector<Pixels>{{W, K, W}, {K, W, K}}));
  mask.Assign(bitmap);
  mask.Mask(clBtnFace);  // a system colour matches its RGB value
  EXPECT_EQ(Rows(mask), (std::vector<Pixels>{{K, K, K}, {W, K, K}}));
  EXPECT_EQ(Rows(bitmap)[0], (Pixels{R, G, R}));  // the source is untouched
}

TEST(Bitmap, MonochromeKeepsTheNearerOfBlackAndWhite) {
  struct Case {
    std::uint32_t colour;
    std::uint32_t stored;
  };
  for (const Case& c : {Case{0x808080, W},  // sum 384
                        {0x7F8080, W},      // sum 383
                        {0x7F7F80, K},      // sum 382
                        {0x0000FF, K},
                        {0x00FFFF, W},
                        {0xE1FFFF, W},
                        {0x000001, K}}) {
    SCOPED_TRACE(c.colour);
    EXPECT_EQ(NearestMonochrome(c.colour), c.stored);
    TBitmap bitmap;
    Fill(bitmap, {{c.colour}});
    bitmap.SetPixelFormat(TPixelFormat::pf1bit);
    EXPECT_TRUE(bitmap.Monochrome());
    EXPECT_EQ(static_cast<std::uint32_t>(bitmap.Pixel(0, 0)), c.stored);
  }
  TBitmap bitmap;
  bitmap.SetMonochrome(true);
  bitmap.SetMonochrome(false);
  EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf24bit);
}

TEST(Bitmap, FilesRoundTripAt24BitsThroughWindowsPaths) {
  test::TestMachine machine;
  ASSERT_TRUE(ForceDirectories("C:\\Pictures"));
  TBitmap bitmap;
  // Five pixels of three bytes: each row is padded to 16 bytes.
  const std::vector<Pixels> rows{{R, G, B, W, K}, {0x123456, 0xABCDEF, K, K, W}, {W, W, W, W, R}};
  Fill(bitmap, rows);
  bitmap.SaveToFile("C:\\Pictures\\glyph.bmp");

  const std::string bytes = test::ReadFileText(machine.driveC().path() / "Pictures" / "glyph.bmp");
  ASSERT_EQ(bytes.size(), 54u + 3 * 16);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(bytes.substr(2, 4), Le(102, 4));
  EXPECT_EQ(bytes.substr(10, 4), Le(54, 4));
  EXPECT_EQ(bytes.substr(28, 2), Le(24, 2));
  EXPECT_EQ(bytes.substr(54, 3), std::string("\xFF\xFF\xFF"));  // bottom row first, BGR
  EXPECT_EQ(bytes.substr(54 + 12, 3), std::string("\0\0\xFF", 3));

  TBitmap loaded;
  loaded.LoadFromFile("c:\\PICTURES\\Glyph.BMP");  // names ignore case
  EXPECT_EQ(Rows(loaded), rows);
  EXPECT_EQ(loaded.PixelFormat(), TPixelFormat::pf24bit);
  // Built independently, the same file.
  EXPECT_EQ(bytes, (BmpFile{5, 24, {}, rows}).Bytes());

  TBitmap empty;
  empty.SaveToFile("C:\\Pictures\\empty.bmp");
  loaded.LoadFromFile("C:\\Pictures\\empty.bmp");
  EXPECT_TRUE(loaded.Empty());
}

TEST(Bitmap, FilesThatCannotBeReadOrWrittenRaiseStreamErrors) {
  test::TestMachine machine;
  TBitmap bitmap;
  bitmap.SetSize(2, 2);
  EXPECT_THROW(bitmap.LoadFromFile("C:\\missing.bmp"), EFOpenError);
  EXPECT_THROW(bitmap.LoadFromFile("C:\\"), EFOpenError);
  EXPECT_THROW(bitmap.LoadFromFile("\\\\server\\share\\a.bmp"), EFOpenError);
  EXPECT_THROW(bitmap.SaveToFile("C:\\No Folder\\a.bmp"), EFCreateError);
  EXPECT_THROW(bitmap.SaveToFile("\\\\server\\share\\a.bmp"), EFCreateError);
  EXPECT_EQ(bitmap.Width(), 2);
}

TEST(Bitmap, ReadsColourTablesOfEveryDepth) {
  const std::vector<std::uint32_t> palette{
      R,        G,        B,        W,        K,        0x123456, 0x654321, 0xABCDEF,
      0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666, 0x777777, 0x888888};
  struct Case {
    const char* name;
    BmpFile file;
    std::vector<Pixels> expected;
    TPixelFormat format;
  };
  const std::vector<Case> cases{
      {"1 bit, nine pixels a row",
       {9, 1, {K, W}, {{0, 1, 1, 0, 0, 0, 0, 1, 1}, {1, 0, 0, 0, 0, 0, 0, 0, 0}}},
       {{K, W, W, K, K, K, K, W, W}, {W, K, K, K, K, K, K, K, K}},
       TPixelFormat::pf1bit},
      {"4 bits",
       {3, 4, palette, {{0, 15, 7}, {8, 1, 2}}},
       {{R, 0x888888, 0xABCDEF}, {0x111111, G, B}},
       TPixelFormat::pf4bit},
      {"8 bits, top down",
       {2, 8, {R, G, B}, {{2, 1}, {0, 0}}, false, true},
       {{B, G}, {R, R}},
       TPixelFormat::pf8bit},
      {"8 bits, an index beyond the table shows black",
       {2, 8, {R, G}, {{1, 200}}},
       {{G, K}},
       TPixelFormat::pf8bit},
      {"old header, 4 bits",
       {2, 4, {R, G, B}, {{2, 0}, {1, 1}}, true},
       {{B, R}, {G, G}},
       TPixelFormat::pf4bit},
      {"old header, 24 bits", {1, 24, {}, {{0x123456}}, true}, {{0x123456}}, TPixelFormat::pf24bit},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TBitmap bitmap;
    bitmap.LoadFromBytes(c.file.Bytes());
    EXPECT_EQ(Rows(bitmap), c.expected);
    EXPECT_EQ(bitmap.PixelFormat(), c.format);
  }
}

// A valid 3 x 2 file at 8 bits with four colours: the colour table at 54, pixels at 70.
std::string ValidFile() {
  return BmpFile{3, 8, {R, G, B, W}, {{0, 1, 2}, {3, 3, 3}}}.Bytes();
}

TEST(Bitmap, MalformedFilesAreRefusedAndLeaveTheBitmapAlone) {
  struct Case {
    const char* name;
    std::function<void(std::string&)> mutate;
  };
  const std::vector<Case> cases{
      {"empty", [](std::string& f) { f.clear(); }},
      {"file header only", [](std::string& f) { f.resize(14); }},
      {"not BM", [](std::string& f) { f[1] = 'A'; }},
      {"header size 0", [](std::string& f) { Patch(f, 14, 0, 4); }},
      {"header size 200", [](std::string& f) { Patch(f, 14, 200, 4); }},
      {"header beyond the file",
       [](std::string& f) {
         Patch(f, 14, 124, 4);
         f.resize(100);
       }},
      {"two planes", [](std::string& f) { Patch(f, 26, 2, 2); }},
      {"16 bits", [](std::string& f) { Patch(f, 28, 16, 2); }},
      {"32 bits", [](std::string& f) { Patch(f, 28, 32, 2); }},
      {"0 bits", [](std::string& f) { Patch(f, 28, 0, 2); }},
      {"run-length compressed", [](std::string& f) { Patch(f, 30, 1, 4); }},
      {"negative width", [](std::string& f) { Patch(f, 18, 0xFFFFFFFF, 4); }},
      {"width too large", [](std::string& f) { Patch(f, 18, 16385, 4); }},
      {"height of INT_MIN", [](std::string& f) { Patch(f, 22, 0x80000000, 4); }},
      {"height too large", [](std::string& f) { Patch(f, 22, 0xFFFFB000, 4); }},
      {"largest size, small file",
       [](std::string& f) {
         Patch(f, 18, 16384, 4);
         Patch(f, 22, 16384, 4);
       }},
      {"colour table of 300", [](std::string& f) { Patch(f, 46, 300, 4); }},
      {"colour table beyond the file", [](std::string& f) { Patch(f, 46, 256, 4); }},
      {"pixels beyond the file", [](std::string& f) { Patch(f, 10, 0xFFFFFFFF, 4); }},
      {"pixels inside the colour table", [](std::string& f) { Patch(f, 10, 60, 4); }},
      {"last row cut short", [](std::string& f) { f.pop_back(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string file = ValidFile();
    c.mutate(file);
    TBitmap bitmap;
    bitmap.SetSize(1, 1);
    bitmap.SetPixel(0, 0, clRed);
    EXPECT_THROW(bitmap.LoadFromBytes(file), EInvalidGraphic);
    EXPECT_EQ(Rows(bitmap), (std::vector<Pixels>{{R}}));
  }
}

TEST(Bitmap, DamagedFilesNeverBreakTheReader) {
  const std::string valid = ValidFile();
  TBitmap bitmap;
  bitmap.LoadFromBytes(valid);
  EXPECT_EQ(Rows(bitmap), (std::vector<Pixels>{{R, G, B}, {W, W, W}}));
  for (std::size_t size = 0; size < valid.size(); ++size) {
    SCOPED_TRACE(size);
    EXPECT_THROW(bitmap.LoadFromBytes(valid.substr(0, size)), EInvalidGraphic);
  }
  // Random damage to one to three bytes: every outcome is a bitmap or EInvalidGraphic.
  std::uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return seed >> 8;
  };
  for (int round = 0; round < 5000; ++round) {
    std::string file = valid;
    for (std::uint32_t n = next() % 3 + 1; n > 0; --n)
      file[next() % file.size()] = static_cast<char>(next());
    try {
      bitmap.LoadFromBytes(file);
      EXPECT_EQ(bitmap.Image().pixels.size(), static_cast<std::size_t>(bitmap.Width()) *
                                                  static_cast<std::size_t>(bitmap.Height()));
    } catch (const EInvalidGraphic&) {
    }
  }
}

}  // namespace
}  // namespace ox
