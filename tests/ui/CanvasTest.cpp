#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <map>

#include "platform/CodePage.h"
#include "tests/support/TestMachine.h"
#include "ui/Bitmap.h"
#include "ui/Canvas.h"

namespace ox {
namespace {

using Picture = std::vector<std::string>;

// Colours drawn as letters, so a test shows the picture it expects.
const std::map<std::uint32_t, char> kLetters{{0xFFFFFF, '.'}, {0x000000, 'k'}, {0x0000FF, 'r'},
                                             {0x00FF00, 'g'}, {0xFF0000, 'b'}, {0x00FFFF, 'y'},
                                             {0xC8D0D4, 'f'}, {0x808080, 's'}};

Picture Draw(const TBitmap& bitmap) {
  Picture rows;
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::string row;
    for (int x = 0; x < bitmap.Width(); ++x) {
      const auto letter = kLetters.find(static_cast<std::uint32_t>(bitmap.Pixel(x, y)));
      row += letter == kLetters.end() ? '?' : letter->second;
    }
    rows.push_back(row);
  }
  return rows;
}

// A bitmap painted from letters.
void Paint(TBitmap& bitmap, const Picture& rows) {
  bitmap.SetSize(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      for (const auto& [rgb, letter] : kLetters)
        if (letter == rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)])
          bitmap.SetPixel(x, y, static_cast<TColor>(rgb));
    }
  }
}

TEST(RasterOp, NamedOperationsFollowTheirFormulas) {
  using Formula = std::function<std::uint32_t(std::uint32_t, std::uint32_t, std::uint32_t)>;
  struct Case {
    const char* name;
    std::uint32_t rop;
    Formula formula;
  };
  const std::vector<Case> cases{
      {"SRCCOPY", SRCCOPY, [](auto, auto s, auto) { return s; }},
      {"SRCAND", SRCAND, [](auto, auto s, auto d) { return s & d; }},
      {"SRCPAINT", SRCPAINT, [](auto, auto s, auto d) { return s | d; }},
      {"SRCINVERT", SRCINVERT, [](auto, auto s, auto d) { return s ^ d; }},
      {"SRCERASE", SRCERASE, [](auto, auto s, auto d) { return s & ~d; }},
      {"NOTSRCCOPY", NOTSRCCOPY, [](auto, auto s, auto) { return ~s; }},
      {"NOTSRCERASE", NOTSRCERASE, [](auto, auto s, auto d) { return ~(s | d); }},
      {"MERGECOPY", MERGECOPY, [](auto p, auto s, auto) { return p & s; }},
      {"MERGEPAINT", MERGEPAINT, [](auto, auto s, auto d) { return ~s | d; }},
      {"PATCOPY", PATCOPY, [](auto p, auto, auto) { return p; }},
      {"PATPAINT", PATPAINT, [](auto p, auto s, auto d) { return p | ~s | d; }},
      {"PATINVERT", PATINVERT, [](auto p, auto, auto d) { return p ^ d; }},
      {"DSTINVERT", DSTINVERT, [](auto, auto, auto d) { return ~d; }},
      {"BLACKNESS", BLACKNESS, [](auto, auto, auto) { return 0u; }},
      {"WHITENESS", WHITENESS, [](auto, auto, auto) { return 0xFFFFFFu; }},
      // DSPDxax: the brush where the source is set, the destination elsewhere.
      {"DSPDxax", 0x00E20746, [](auto p, auto s, auto d) { return (s & p) | (~s & d); }},
  };
  struct Triple {
    std::uint32_t p, s, d;
  };
  // The first triple has every combination of P, S and D in each byte.
  const Triple triples[] = {{0xF0F0F0, 0xCCCCCC, 0xAAAAAA},
                            {0x123456, 0xABCDEF, 0x0F1E2D},
                            {0xFFFFFF, 0x000000, 0x808080}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const Triple& t : triples)
      EXPECT_EQ(RasterOp(c.rop, t.p, t.s, t.d), c.formula(t.p, t.s, t.d) & 0xFFFFFF);
  }
}

TEST(Canvas, RecordsOperationsWithTheStateOfTheirTime) {
  TCanvas canvas;
  canvas.Font().SetName("Tahoma");
  canvas.Brush().SetColor(clBtnFace);
  canvas.FillRect({0, 0, 50, 20});
  canvas.TextOut(4, 3, "OK");
  canvas.Font().SetColor(clRed);
  canvas.Font().SetStyle(fsBold);
  canvas.Pen().SetColor(clBlue);
  canvas.Pen().SetWidth(2);
  canvas.MoveTo(1, 1);
  canvas.LineTo(10, 1);
  canvas.TextRect({0, 0, 30, 15}, 2, 2, "Cancel");
  canvas.DrawFocusRect({1, 1, 49, 19});
  canvas.SetPixels(3, 4, clYellow);

  const std::vector<TCanvasOp>& ops = canvas.Operations();
  ASSERT_EQ(ops.size(), 6u);
  EXPECT_EQ(ops[0].kind, TCanvasOpKind::FillRect);
  EXPECT_EQ(ops[0].rect, (TRect{0, 0, 50, 20}));
  EXPECT_EQ(ops[0].brush.Color(), clBtnFace);
  EXPECT_EQ(ops[1].kind, TCanvasOpKind::TextOut);
  EXPECT_EQ(ops[1].point, (TPoint{4, 3}));
  EXPECT_EQ(ops[1].text, "OK");
  EXPECT_EQ(ops[1].font->Name(), "Tahoma");
  EXPECT_EQ(ops[1].font->Color(), clWindowText);  // the font as it was then
  EXPECT_EQ(ops[2].kind, TCanvasOpKind::Line);
  EXPECT_EQ(ops[2].from, (TPoint{1, 1}));
  EXPECT_EQ(ops[2].point, (TPoint{10, 1}));
  EXPECT_EQ(ops[2].pen.Color(), clBlue);
  EXPECT_EQ(ops[2].pen.Width(), 2);
  EXPECT_EQ(ops[3].kind, TCanvasOpKind::TextRect);
  EXPECT_EQ(ops[3].rect, (TRect{0, 0, 30, 15}));
  EXPECT_EQ(ops[3].point, (TPoint{2, 2}));
  EXPECT_EQ(ops[3].format, DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(ops[3].font->Color(), clRed);
  EXPECT_EQ(ops[3].font->Style(), fsBold);
  EXPECT_EQ(ops[4].kind, TCanvasOpKind::DrawFocusRect);
  EXPECT_EQ(ops[5].kind, TCanvasOpKind::Pixel);
  EXPECT_EQ(ops[5].color, clYellow);

  // Later changes of the canvas leave the record alone.
  canvas.Font().SetName("Arial");
  EXPECT_EQ(ops[3].font->Name(), "Tahoma");
  EXPECT_EQ(canvas.PenPos(), (TPoint{10, 1}));
  // A canvas without a bitmap has no pixels.
  EXPECT_EQ(canvas.Pixels(3, 4), -1);
  canvas.ClearOperations();
  EXPECT_TRUE(canvas.Operations().empty());
}

TEST(Canvas, BrushAndPenFollowTheFrameworkRules) {
  TBrush brush;
  brush.SetStyle(TBrushStyle::bsClear);
  brush.SetColor(clRed);
  EXPECT_EQ(brush.Style(), TBrushStyle::bsSolid);
  TPen pen;
  pen.SetWidth(-3);
  EXPECT_EQ(pen.Width(), 1);
}

TEST(Canvas, TextSizesFollowTheFontAndCountDoubleByteCharacters) {
  test::TestMachine gb(936);
  TCanvas canvas;
  canvas.Font().SetHeight(-13);
  const int half = canvas.TextWidth("a");
  EXPECT_EQ(canvas.TextWidth("abc"), 3 * half);
  EXPECT_EQ(canvas.TextWidth(Gb("确定")), 26);  // two characters of the full height
  EXPECT_EQ(canvas.TextHeight(""), canvas.TextHeight("Wg"));
  EXPECT_EQ(canvas.TextWidth(""), 0);
  const int normal = canvas.TextHeight("x");
  canvas.Font().SetHeight(-26);
  EXPECT_GT(canvas.TextHeight("x"), normal);
  EXPECT_GT(canvas.TextWidth("abc"), 3 * half);

  // Under a single-byte code page the same bytes are four characters.
  test::TestMachine latin(1252);
  canvas.Font().SetHeight(-13);
  EXPECT_EQ(canvas.TextWidth(Gb("确定")), 4 * half);

  canvas.TextOut(5, 7, "abc");
  EXPECT_EQ(canvas.PenPos(), (TPoint{5 + 3 * half, 7}));
}

TEST(Canvas, DrawTextLaysTheTextOutByItsFlags) {
  TCanvas canvas;
  const TRect box{10, 20, 110, 60};
  const int w = canvas.TextWidth("OK");
  const int h = canvas.TextHeight("OK");
  struct Case {
    unsigned format;
    TPoint origin;
  };
  for (const Case& c :
       {Case{DT_LEFT | DT_TOP, {10, 20}},
        {DT_CENTER | DT_SINGLELINE | DT_VCENTER, {10 + (100 - w) / 2, 20 + (40 - h) / 2}},
        {DT_RIGHT | DT_SINGLELINE | DT_BOTTOM, {110 - w, 60 - h}},
        // Vertical placement needs a single line.
        {DT_RIGHT | DT_VCENTER, {110 - w, 20}}}) {
    SCOPED_TRACE(c.format);
    canvas.ClearOperations();
    const TRect covered = canvas.DrawText("&OK", box, c.format);
    EXPECT_EQ(covered, (TRect{c.origin.X, c.origin.Y, c.origin.X + w, c.origin.Y + h}));
    ASSERT_EQ(canvas.Operations().size(), 1u);
    EXPECT_EQ(canvas.Operations()[0].point, c.origin);
    EXPECT_EQ(canvas.Operations()[0].text, "&OK");
    EXPECT_EQ(canvas.Operations()[0].format, c.format);
  }
  canvas.ClearOperations();
  // Sizing only: nothing is drawn. "&&" shows one "&"; DT_NOPREFIX shows it as it is.
  EXPECT_EQ(canvas.DrawText("a&&b", box, DT_CALCRECT | DT_SINGLELINE).Width(),
            canvas.TextWidth("a&b"));
  EXPECT_EQ(canvas.DrawText("&OK", box, DT_CALCRECT | DT_NOPREFIX).Width(),
            canvas.TextWidth("&OK"));
  const TRect lines = canvas.DrawText("one\r\nthree\nx", box, DT_CALCRECT);
  EXPECT_EQ(lines, (TRect{10, 20, 10 + canvas.TextWidth("three"), 20 + 3 * h}));
  EXPECT_EQ(canvas.DrawText("one\r\nthree", box, DT_CALCRECT | DT_SINGLELINE).Height(), h);
  EXPECT_TRUE(canvas.Operations().empty());
}

// A canvas bound to a bitmap changes its pixels.
class BitmapCanvas : public testing::Test {
 protected:
  BitmapCanvas() { bitmap.SetSize(6, 4); }
  TBitmap bitmap;
  TCanvas& canvas = bitmap.Canvas();
};

TEST_F(BitmapCanvas, FillFrameAndRectangleClipToTheBitmap) {
  canvas.Brush().SetColor(clRed);
  canvas.FillRect({-2, -2, 2, 2});
  canvas.Brush().SetColor(clBtnFace);  // a system colour shows as its RGB value
  canvas.FrameRect({2, 0, 6, 4});
  EXPECT_EQ(Draw(bitmap), (Picture{"rrffff", "rrf..f", "..f..f", "..ffff"}));

  canvas.Brush().SetColor(clYellow);
  canvas.Pen().SetColor(clBlue);
  canvas.Pen().SetWidth(2);
  canvas.Rectangle({0, 0, 6, 4});
  EXPECT_EQ(Draw(bitmap), (Picture{"bbbbbb", "bbbbbb", "bbbbbb", "bbbbbb"}));
  canvas.Pen().SetWidth(1);
  canvas.Rectangle({0, 0, 6, 4});
  EXPECT_EQ(Draw(bitmap), (Picture{"bbbbbb", "byyyyb", "byyyyb", "bbbbbb"}));

  // Clear brushes and pens paint nothing.
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  canvas.FillRect({0, 0, 6, 4});
  canvas.Pen().SetStyle(TPenStyle::psClear);
  canvas.Rectangle({0, 0, 6, 4});
  canvas.LineTo(5, 3);
  EXPECT_EQ(Draw(bitmap), (Picture{"bbbbbb", "byyyyb", "byyyyb", "bbbbbb"}));
  EXPECT_EQ(canvas.Operations().size(), 7u);
}

TEST_F(BitmapCanvas, LinesLeaveOutTheirEndPoint) {
  canvas.Pen().SetColor(clBlack);
  canvas.MoveTo(0, 0);
  canvas.LineTo(5, 3);
  canvas.MoveTo(5, 0);
  canvas.LineTo(5, 2);
  EXPECT_EQ(Draw(bitmap), (Picture{"k....k", ".kk..k", "...kk.", "......"}));

  // A line from far away crosses the bitmap without walking all its steps.
  canvas.MoveTo(INT_MIN, 3);
  canvas.LineTo(INT_MAX, 3);
  EXPECT_EQ(Draw(bitmap)[3], "kkkkkk");
  canvas.Pen().SetWidth(3);
  canvas.MoveTo(2, -1000000);
  canvas.LineTo(2, 1000000);
  EXPECT_EQ(Draw(bitmap), (Picture{"kkkk.k", ".kkk.k", ".kkkk.", "kkkkkk"}));
}

TEST_F(BitmapCanvas, PixelsReadAndWriteInsideOnly) {
  canvas.SetPixels(1, 2, clRed);
  canvas.SetPixels(2, 2, clBtnShadow);
  canvas.SetPixels(-1, 0, clRed);
  canvas.SetPixels(6, 0, clRed);
  EXPECT_EQ(canvas.Pixels(1, 2), clRed);
  EXPECT_EQ(canvas.Pixels(2, 2), 0x808080);
  for (const TPoint& p : {TPoint{-1, 0}, {0, -1}, {6, 0}, {0, 4}, {INT_MIN, INT_MAX}})
    EXPECT_EQ(canvas.Pixels(p.X, p.Y), -1);
  EXPECT_EQ(Draw(bitmap), (Picture{"......", "......", ".rs...", "......"}));
}

TEST_F(BitmapCanvas, FocusRectangleInvertsEveryOtherPixelAndUndoesItself) {
  canvas.DrawFocusRect({0, 0, 6, 4});
  EXPECT_EQ(Draw(bitmap), (Picture{"k.k.k.", ".....k", "k.....", ".k.k.k"}));
  canvas.DrawFocusRect({0, 0, 6, 4});
  EXPECT_EQ(Draw(bitmap), (Picture{"......", "......", "......", "......"}));
}

TEST_F(BitmapCanvas, CopiesGoThroughTheCopyMode) {
  TBitmap source;
  const std::uint32_t s = 0x33CC0F;
  const std::uint32_t d = 0x5A5A5A;
  const std::uint32_t p = 0x0FF0AA;
  source.SetSize(2, 2);
  source.Canvas().Brush().SetColor(static_cast<TColor>(s));
  source.Canvas().FillRect({0, 0, 2, 2});
  for (const std::uint32_t rop :
       {SRCCOPY, SRCAND, SRCPAINT, SRCINVERT, NOTSRCCOPY, MERGEPAINT, 0x00E20746u}) {
    SCOPED_TRACE(rop);
    canvas.Brush().SetColor(static_cast<TColor>(d));
    canvas.FillRect({0, 0, 6, 4});
    canvas.Brush().SetColor(static_cast<TColor>(p));
    canvas.SetCopyMode(rop);
    canvas.CopyRect({1, 1, 3, 3}, source.Canvas(), {0, 0, 2, 2});
    EXPECT_EQ(canvas.Pixels(1, 1), static_cast<TColor>(RasterOp(rop, p, s, d)));
    EXPECT_EQ(canvas.Pixels(2, 2), static_cast<TColor>(RasterOp(rop, p, s, d)));
    EXPECT_EQ(canvas.Pixels(3, 3), static_cast<TColor>(d));
    EXPECT_EQ(canvas.Operations().back().copyMode, rop);
  }
}

TEST_F(BitmapCanvas, EmbossingWithAMaskPaintsTheBrushWhereTheMaskIsWhite) {
  TBitmap mask;
  Paint(mask, {"k.k", "...", "kkk"});
  mask.SetMonochrome(true);
  canvas.Brush().SetColor(clBtnFace);
  canvas.FillRect({0, 0, 6, 4});
  canvas.Brush().SetColor(clBtnShadow);
  canvas.SetCopyMode(0x00E20746);
  canvas.Draw(1, 1, mask);
  EXPECT_EQ(Draw(bitmap), (Picture{"ffffff", "ffsfff", "fsssff", "ffffff"}));
}

TEST_F(BitmapCanvas, DrawCopiesOrLeavesOutTheTransparentColour) {
  TBitmap glyph;
  Paint(glyph, {"rg", "bb"});  // bottom-left blue: the transparent colour
  canvas.Draw(4, 2, glyph);
  canvas.Draw(-1, -1, glyph);
  glyph.SetTransparent(true);
  canvas.Draw(2, 0, glyph);
  EXPECT_EQ(Draw(bitmap), (Picture{"b.rg..", "......", "....rg", "....bb"}));
  EXPECT_TRUE(canvas.Operations().back().transparent);
  EXPECT_EQ(canvas.Operations().back().transparentColor, clBlue);

  // A draw through SRCAND keeps the common bits only.
  glyph.SetTransparent(false);
  canvas.SetCopyMode(SRCAND);
  canvas.Draw(3, 2, glyph);
  EXPECT_EQ(Draw(bitmap), (Picture{"b.rg..", "......", "...rkg", "...bbb"}));
}

TEST_F(BitmapCanvas, StretchDrawScalesToTheNearestPixel) {
  TBitmap glyph;
  Paint(glyph, {"rg", "by"});
  canvas.StretchDraw({0, 0, 4, 4}, glyph);
  canvas.StretchDraw({4, 0, 6, 4}, glyph);
  canvas.StretchDraw({5, 3, 5, 9}, glyph);  // no width: nothing
  EXPECT_EQ(Draw(bitmap), (Picture{"rrggrg", "rrggrg", "bbyyby", "bbyyby"}));
}

TEST_F(BitmapCanvas, DrawingReadsThePixelsAsTheyWereBefore) {
  Paint(bitmap, {"rgby..", "......", "......", "......"});
  // A copy onto an overlapping part of the same bitmap.
  canvas.CopyRect({1, 0, 5, 1}, canvas, {0, 0, 4, 1});
  EXPECT_EQ(Draw(bitmap)[0], "rrgby.");
  // The recorded image stays as drawn when its bitmap changes later.
  TBitmap glyph;
  Paint(glyph, {"r"});
  canvas.Draw(0, 3, glyph);
  glyph.SetPixel(0, 0, clLime);
  EXPECT_EQ(canvas.Operations().back().image->At(0, 0), 0x0000FFu);
  // A source rectangle partly outside its bitmap copies only what is inside.
  canvas.CopyRect({0, 1, 3, 2}, glyph.Canvas(), {-1, 0, 2, 1});
  EXPECT_EQ(Draw(bitmap)[1], ".g....");
  // A canvas without a bitmap gives nothing to copy.
  TCanvas screen;
  canvas.CopyRect({0, 0, 6, 4}, screen, {0, 0, 6, 4});
  EXPECT_EQ(canvas.Operations().back().image, nullptr);
  EXPECT_EQ(Draw(bitmap)[0], "rrgby.");
}

TEST_F(BitmapCanvas, AMonochromeBitmapStoresTheNearerOfBlackAndWhite) {
  bitmap.SetMonochrome(true);
  canvas.Brush().SetColor(clRed);
  canvas.FillRect({0, 0, 3, 4});
  canvas.Brush().SetColor(clYellow);
  canvas.FillRect({3, 0, 6, 4});
  canvas.SetPixels(0, 0, clInfoBk);
  EXPECT_EQ(Draw(bitmap), (Picture{".kk...", "kkk...", "kkk...", "kkk..."}));
}

}  // namespace
}  // namespace ox
