// A drawing surface that records what is drawn. Every drawing call appends one
// operation, with its arguments and the font, brush, pen and copy mode in force, to an
// ordered display list that tests read and a backend replays. A canvas bound to a
// bitmap (TBitmap::Canvas) also applies fills, frames, lines, pixels, bitmap draws,
// copies and focus rectangles to the bitmap's pixels. Text is only recorded: no glyphs
// are rendered, and text sizes come from a fixed model of the font (TextExtent), so
// layouts computed from them are the same on every machine.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Graphics.h"

namespace ox {

class TBitmap;
struct TBitmapImage;

// Raster operations of copies and bitmap draws, with their Windows values. Any ternary
// raster operation works (RasterOp); these are the named ones.
inline constexpr std::uint32_t SRCCOPY = 0x00CC0020;
inline constexpr std::uint32_t SRCPAINT = 0x00EE0086;
inline constexpr std::uint32_t SRCAND = 0x008800C6;
inline constexpr std::uint32_t SRCINVERT = 0x00660046;
inline constexpr std::uint32_t SRCERASE = 0x00440328;
inline constexpr std::uint32_t NOTSRCCOPY = 0x00330008;
inline constexpr std::uint32_t NOTSRCERASE = 0x001100A6;
inline constexpr std::uint32_t MERGECOPY = 0x00C000CA;
inline constexpr std::uint32_t MERGEPAINT = 0x00BB0226;
inline constexpr std::uint32_t PATCOPY = 0x00F00021;
inline constexpr std::uint32_t PATPAINT = 0x00FB0A09;
inline constexpr std::uint32_t PATINVERT = 0x005A0049;
inline constexpr std::uint32_t DSTINVERT = 0x00550009;
inline constexpr std::uint32_t BLACKNESS = 0x00000042;
inline constexpr std::uint32_t WHITENESS = 0x00FF0062;

// The result of a ternary raster operation on 24-bit colours, bit by bit: bits 16 to 23
// of `rop` are its truth table, bit (P << 2 | S << 1 | D) giving the result for a
// pattern (brush) bit P, source bit S and destination bit D.
std::uint32_t RasterOp(std::uint32_t rop, std::uint32_t pattern, std::uint32_t source,
                       std::uint32_t dest);

// DrawText format flags, with their Windows values.
inline constexpr unsigned DT_LEFT = 0x0000;
inline constexpr unsigned DT_TOP = 0x0000;
inline constexpr unsigned DT_CENTER = 0x0001;
inline constexpr unsigned DT_RIGHT = 0x0002;
inline constexpr unsigned DT_VCENTER = 0x0004;  // single line only
inline constexpr unsigned DT_BOTTOM = 0x0008;   // single line only
inline constexpr unsigned DT_SINGLELINE = 0x0020;
inline constexpr unsigned DT_NOCLIP = 0x0100;
inline constexpr unsigned DT_CALCRECT = 0x0400;
inline constexpr unsigned DT_NOPREFIX = 0x0800;

enum class TBrushStyle { bsSolid, bsClear };

class TBrush {
 public:
  TColor Color() const { return color_; }
  // Giving a clear brush a colour makes it solid, as the framework does.
  void SetColor(TColor color);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle style) { style_ = style; }
  bool operator==(const TBrush&) const = default;

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = TBrushStyle::bsSolid;
};

// Styles other than psClear are recorded; pixels are drawn solid.
enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

class TPen {
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor color) { color_ = color; }
  int Width() const { return width_; }
  void SetWidth(int width);  // a negative width is ignored
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle style) { style_ = style; }
  bool operator==(const TPen&) const = default;

 private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = TPenStyle::psSolid;
};

enum class TCanvasOpKind {
  FillRect,       // rect with the brush
  FrameRect,      // a one-pixel border of rect with the brush (as Windows FrameRect)
  Rectangle,      // rect outlined with the pen (inside rect), filled with the brush
  Line,           // from `from` to `point`, the end point excluded, with the pen
  Pixel,          // point set to color
  TextOut,        // text at point
  TextRect,       // text at point, clipped to rect unless DT_NOCLIP, laid out by format;
                  // point is the top left of the text's block, in which each line is
                  // aligned by the format
  Draw,           // image with its top left at point; rect is where it lands
  StretchDraw,    // image scaled to rect
  DrawFocusRect,  // a dotted inverting border of rect
  CopyRect,       // source rectangle of image scaled to rect, through copyMode
};

// One recorded drawing operation. Fields an operation does not use keep their defaults.
struct TCanvasOp {
  TCanvasOpKind kind = TCanvasOpKind::FillRect;
  TRect rect;
  TPoint from;
  TPoint point;
  TColor color = clBlack;
  std::string text;
  unsigned format = 0;
  // Draw, StretchDraw, CopyRect: the source pixels as they were when drawn (null when
  // the source canvas has no bitmap), and for CopyRect the rectangle taken from them.
  std::shared_ptr<const TBitmapImage> image;
  TRect source;
  // Draw, StretchDraw: pixels of transparentColor are left out when transparent.
  bool transparent = false;
  TColor transparentColor = clNone;
  // The drawing state at the time.
  std::shared_ptr<const TFont> font;
  TBrush brush;
  TPen pen;
  std::uint32_t copyMode = SRCCOPY;
};

class TCanvas {
 public:
  // A canvas that only records, as the canvas of a control.
  TCanvas();
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  TBrush& Brush() { return brush_; }
  const TBrush& Brush() const { return brush_; }
  TPen& Pen() { return pen_; }
  const TPen& Pen() const { return pen_; }
  // The raster operation of Draw, StretchDraw and CopyRect; the brush is the pattern.
  std::uint32_t CopyMode() const { return copyMode_; }
  void SetCopyMode(std::uint32_t rop) { copyMode_ = rop; }
  TPoint PenPos() const { return penPos_; }

  void MoveTo(int x, int y) { penPos_ = {x, y}; }
  void LineTo(int x, int y);
  void FillRect(const TRect& rect);
  void FrameRect(const TRect& rect);
  void Rectangle(const TRect& rect);
  void DrawFocusRect(const TRect& rect);
  // Out-of-range pixels read as -1; writing them does nothing.
  TColor Pixels(int x, int y) const;
  void SetPixels(int x, int y, TColor color);

  // Text at (x, y); the pen moves to its right end.
  void TextOut(int x, int y, std::string_view text);
  // Text at (x, y) clipped to rect.
  void TextRect(const TRect& rect, int x, int y, std::string_view text);
  // Text laid out in rect by DT_ flags: "&x" marks an accelerator unless DT_NOPREFIX;
  // without DT_SINGLELINE the text breaks at line ends. Answers the rectangle the text
  // covers; with DT_CALCRECT that rectangle (from rect's top left) is all it does.
  TRect DrawText(std::string_view text, const TRect& rect, unsigned format);
  TSize TextExtent(std::string_view text) const;
  int TextWidth(std::string_view text) const { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) const { return TextExtent(text).cy; }

  // The bitmap at (x, y): transparently when the bitmap is Transparent, else through
  // CopyMode.
  void Draw(int x, int y, const TBitmap& bitmap);
  void StretchDraw(const TRect& rect, const TBitmap& bitmap);
  // The part sourceRect of the source canvas's bitmap, scaled to dest through CopyMode.
  void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect);

  const std::vector<TCanvasOp>& Operations() const { return ops_; }
  void ClearOperations() { ops_.clear(); }

 private:
  friend class TBitmap;
  explicit TCanvas(TBitmap* target);

  TCanvasOp& Record(TCanvasOpKind kind);
  template <typename Drawing>
  void ApplyToBitmap(Drawing drawing);
  void DrawImage(TCanvasOpKind kind, const TRect& dest, const TBitmap& bitmap);

  TBitmap* target_ = nullptr;
  TFont font_;
  TBrush brush_;
  TPen pen_;
  std::uint32_t copyMode_ = SRCCOPY;
  TPoint penPos_;
  std::shared_ptr<const TFont> fontSnapshot_;  // shared by operations until the font changes
  std::vector<TCanvasOp> ops_;
};

// The height of a line of text in `font`, as a canvas with that font measures it (list
// box rows, group box captions).
int FontTextHeight(const TFont& font);

}  // namespace ox
