#include "ui/Canvas.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iterator>

#include "platform/AsciiText.h"
#include "ui/Bitmap.h"

namespace ox {

std::uint32_t RasterOp(std::uint32_t rop, std::uint32_t pattern, std::uint32_t source,
                       std::uint32_t dest) {
  const std::uint32_t table = (rop >> 16) & 0xFF;
  std::uint32_t result = 0;
  // Every true row of the truth table adds the bits whose (P, S, D) match that row.
  for (std::uint32_t row = 0; row < 8; ++row) {
    if (((table >> row) & 1) == 0) continue;
    const std::uint32_t p = (row & 4) ? pattern : ~pattern;
    const std::uint32_t s = (row & 2) ? source : ~source;
    const std::uint32_t d = (row & 1) ? dest : ~dest;
    result |= p & s & d;
  }
  return result & 0xFFFFFF;
}

void TBrush::SetColor(TColor color) {
  color_ = color;
  if (style_ == TBrushStyle::bsClear) style_ = TBrushStyle::bsSolid;
}

void TPen::SetWidth(int width) {
  if (width >= 0) width_ = width;
}

namespace {

int Saturated(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

// ---- text sizes --------------------------------------------------------------
// A fixed model of a font: the character height is the font's (a positive Height is
// the cell, whose sixth is internal leading); the cell adds a fifth of the character
// height; a single-byte character is half the character height wide, rounded up, and a
// double-byte character the full height.

int CharacterHeight(const TFont& font) {
  constexpr int kLargest = 32767;
  const int height = std::clamp(font.Height(), -kLargest, kLargest);
  if (height == 0) return 11;  // the default font
  return height < 0 ? -height : height - height / 6;
}

int CellHeight(const TFont& font) {
  const int character = CharacterHeight(font);
  return character + character / 5;
}

int LineWidth(const TFont& font, std::string_view line) {
  const std::int64_t character = CharacterHeight(font);
  std::int64_t width = 0;
  for (std::size_t pos = 0; pos < line.size();) {
    const std::size_t length = NarrowCharLength(line, pos);
    width += length == 2 ? character : (character + 1) / 2;
    pos += length;
  }
  return Saturated(width);
}

// The text as DrawText shows it: "&x" shows "x" (underlined), "&&" shows "&".
std::string WithoutPrefixes(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    if (text[pos] == '&') ++pos;
    if (pos < text.size()) shown += text[pos];
  }
  return shown;
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    if (text[pos] != '\r' && text[pos] != '\n') continue;
    lines.push_back(text.substr(start, pos - start));
    if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
    start = pos + 1;
  }
  lines.push_back(text.substr(start));
  return lines;
}

// ---- pixels ------------------------------------------------------------------

// Draws on the pixels of a bitmap, clipped to it.
class Painter {
 public:
  Painter(TBitmapImage& image, bool monochrome) : image_(image), monochrome_(monochrome) {}

  std::uint32_t Stored(std::uint32_t rgb) const {
    return monochrome_ ? NearestMonochrome(rgb) : rgb & 0xFFFFFF;
  }

  void Put(std::int64_t x, std::int64_t y, std::uint32_t rgb) {
    if (Inside(x, y)) At(x, y) = Stored(rgb);
  }

  void Fill(const TRect& rect, std::uint32_t rgb) {
    const std::uint32_t stored = Stored(rgb);
    const Span xs = ClipX(rect.Left, rect.Right);
    const Span ys = ClipY(rect.Top, rect.Bottom);
    if (xs.empty()) return;
    for (std::int64_t y = ys.from; y < ys.to; ++y)
      std::fill(&At(xs.from, y), &At(xs.from, y) + (xs.to - xs.from), stored);
  }

  // A border `width` pixels wide inside rect.
  void Frame(const TRect& rect, int width, std::uint32_t rgb) {
    const std::int64_t w = std::min<std::int64_t>(
        {width, std::int64_t{rect.Right} - rect.Left, std::int64_t{rect.Bottom} - rect.Top});
    if (w <= 0) return;
    const int innerTop = Saturated(rect.Top + w), innerBottom = Saturated(rect.Bottom - w);
    const int innerLeft = Saturated(rect.Left + w), innerRight = Saturated(rect.Right - w);
    Fill({rect.Left, rect.Top, rect.Right, innerTop}, rgb);
    Fill({rect.Left, innerBottom, rect.Right, rect.Bottom}, rgb);
    Fill({rect.Left, rect.Top, innerLeft, rect.Bottom}, rgb);
    Fill({innerRight, rect.Top, rect.Right, rect.Bottom}, rgb);
  }

  // A line without its end point, each point a width x width square. Only the steps
  // whose point can touch the bitmap are walked, so far-off lines cost nothing.
  void Line(TPoint from, TPoint to, int width, std::uint32_t rgb) {
    const std::int64_t dx = std::int64_t{to.X} - from.X;
    const std::int64_t dy = std::int64_t{to.Y} - from.Y;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const std::int64_t steps = xMajor ? std::llabs(dx) : std::llabs(dy);
    const std::int64_t major0 = xMajor ? from.X : from.Y;
    const int majorSign = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int minorSign = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const auto minorSpan = static_cast<std::uint64_t>(std::llabs(xMajor ? dy : dx));
    const std::int64_t limit = xMajor ? image_.width : image_.height;
    // Steps i whose major coordinate major0 + sign * i lies within the bitmap (widened
    // by the pen).
    const std::int64_t first =
        std::max<std::int64_t>(majorSign > 0 ? -width - major0 : major0 - limit - width + 1, 0);
    const std::int64_t last =
        std::min(majorSign > 0 ? limit + width - 1 - major0 : major0 + width, steps - 1);
    const int half = width / 2;
    for (std::int64_t i = first; i <= last; ++i) {
      // The minor coordinate rounded to the nearer pixel; no overflow: i * span < 2^64.
      const auto offset = static_cast<std::int64_t>(
          (static_cast<std::uint64_t>(i) * minorSpan + static_cast<std::uint64_t>(steps) / 2) /
          static_cast<std::uint64_t>(steps));
      const std::int64_t major = major0 + majorSign * i;
      const std::int64_t minor = (xMajor ? from.Y : from.X) + minorSign * offset;
      const std::int64_t x = (xMajor ? major : minor) - half;
      const std::int64_t y = (xMajor ? minor : major) - half;
      Fill({Saturated(x), Saturated(y), Saturated(x + width), Saturated(y + width)}, rgb);
    }
  }

  // Inverts every other pixel of the border of rect, so drawing it twice restores it.
  void FocusRect(const TRect& rect) {
    if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) return;
    const std::int64_t right = std::int64_t{rect.Right} - 1;
    const std::int64_t bottom = std::int64_t{rect.Bottom} - 1;
    const Span xs = ClipX(rect.Left, rect.Right);
    for (std::int64_t x = xs.from; x < xs.to; ++x) {
      InvertDot(x, rect.Top);
      if (bottom != rect.Top) InvertDot(x, bottom);
    }
    const Span ys = ClipY(std::int64_t{rect.Top} + 1, bottom);
    for (std::int64_t y = ys.from; y < ys.to; ++y) {
      InvertDot(rect.Left, y);
      if (right != rect.Left) InvertDot(right, y);
    }
  }

  // The part `from` of source scaled to dest (nearest pixel): leaving out pixels of
  // transparentColor when transparent, else through the raster operation. Source
  // pixels outside the source leave the destination as it is.
  void Blit(const TRect& dest, const TBitmapImage& source, const TRect& from, bool transparent,
            std::uint32_t transparentColor, std::uint32_t rop, std::uint32_t pattern) {
    const std::int64_t destWidth = std::int64_t{dest.Right} - dest.Left;
    const std::int64_t destHeight = std::int64_t{dest.Bottom} - dest.Top;
    const std::int64_t fromWidth = std::int64_t{from.Right} - from.Left;
    const std::int64_t fromHeight = std::int64_t{from.Bottom} - from.Top;
    if (destWidth <= 0 || destHeight <= 0 || fromWidth <= 0 || fromHeight <= 0) return;
    const Span xs = ClipX(dest.Left, dest.Right);
    const Span ys = ClipY(dest.Top, dest.Bottom);
    for (std::int64_t y = ys.from; y < ys.to; ++y) {
      const std::int64_t sy = from.Top + Scaled(y - dest.Top, fromHeight, destHeight);
      if (sy < 0 || sy >= source.height) continue;
      for (std::int64_t x = xs.from; x < xs.to; ++x) {
        const std::int64_t sx = from.Left + Scaled(x - dest.Left, fromWidth, destWidth);
        if (sx < 0 || sx >= source.width) continue;
        const std::uint32_t s = source.At(static_cast<int>(sx), static_cast<int>(sy));
        std::uint32_t& d = At(x, y);
        if (transparent) {
          if (s != transparentColor) d = Stored(s);
        } else {
          d = Stored(rop == SRCCOPY ? s : RasterOp(rop, pattern, s, d));
        }
      }
    }
  }

 private:
  struct Span {
    std::int64_t from, to;
    bool empty() const { return from >= to; }
  };

  Span ClipX(std::int64_t from, std::int64_t to) const {
    return {std::max<std::int64_t>(from, 0), std::min<std::int64_t>(to, image_.width)};
  }
  Span ClipY(std::int64_t from, std::int64_t to) const {
    return {std::max<std::int64_t>(from, 0), std::min<std::int64_t>(to, image_.height)};
  }
  // offset * to / from for a non-negative offset and positive spans below 2^32: the
  // product fits 64 unsigned bits.
  static std::int64_t Scaled(std::int64_t offset, std::int64_t to, std::int64_t from) {
    if (to == from) return offset;  // unscaled copies, the usual case, need no division
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(offset) *
                                     static_cast<std::uint64_t>(to) /
                                     static_cast<std::uint64_t>(from));
  }
  bool Inside(std::int64_t x, std::int64_t y) const {
    return x >= 0 && y >= 0 && x < image_.width && y < image_.height;
  }
  std::uint32_t& At(std::int64_t x, std::int64_t y) {
    return image_.pixels[static_cast<std::size_t>(y * image_.width + x)];
  }
  void InvertDot(std::int64_t x, std::int64_t y) {
    if (Inside(x, y) && (x + y) % 2 == 0) At(x, y) ^= 0xFFFFFF;
  }

  TBitmapImage& image_;
  bool monochrome_;
};

std::uint32_t Rgb(TColor color) {
  return ColorToRGB(color) & 0xFFFFFF;
}

}  // namespace

// ---- TCanvas -----------------------------------------------------------------

TCanvas::TCanvas() = default;
TCanvas::TCanvas(TBitmap* target) : target_(target) {}
TCanvas::~TCanvas() = default;

TCanvasOp& TCanvas::Record(TCanvasOpKind kind) {
  if (!fontSnapshot_ || !(*fontSnapshot_ == font_)) {
    auto snapshot = std::make_shared<TFont>();
    snapshot->Assign(font_);
    fontSnapshot_ = std::move(snapshot);
  }
  TCanvasOp& op = ops_.emplace_back();
  op.kind = kind;
  op.font = fontSnapshot_;
  op.brush = brush_;
  op.pen = pen_;
  op.copyMode = copyMode_;
  return op;
}

// Runs a drawing on the bitmap's pixels when the canvas has a bitmap.
template <typename Drawing>
void TCanvas::ApplyToBitmap(Drawing drawing) {
  if (target_ == nullptr) return;
  Painter painter(target_->MutableImage(), target_->Monochrome());
  drawing(painter);
  target_->Changed();
}

void TCanvas::LineTo(int x, int y) {
  TCanvasOp& op = Record(TCanvasOpKind::Line);
  op.from = penPos_;
  op.point = {x, y};
  if (pen_.Style() != TPenStyle::psClear) {
    ApplyToBitmap([&](Painter& p) {
      p.Line(penPos_, {x, y}, std::max(pen_.Width(), 1), Rgb(pen_.Color()));
    });
  }
  penPos_ = {x, y};
}

void TCanvas::FillRect(const TRect& rect) {
  Record(TCanvasOpKind::FillRect).rect = rect;
  if (brush_.Style() == TBrushStyle::bsSolid)
    ApplyToBitmap([&](Painter& p) { p.Fill(rect, Rgb(brush_.Color())); });
}

void TCanvas::FrameRect(const TRect& rect) {
  Record(TCanvasOpKind::FrameRect).rect = rect;
  if (brush_.Style() == TBrushStyle::bsSolid)
    ApplyToBitmap([&](Painter& p) { p.Frame(rect, 1, Rgb(brush_.Color())); });
}

void TCanvas::Rectangle(const TRect& rect) {
  Record(TCanvasOpKind::Rectangle).rect = rect;
  ApplyToBitmap([&](Painter& p) {
    if (brush_.Style() == TBrushStyle::bsSolid) p.Fill(rect, Rgb(brush_.Color()));
    if (pen_.Style() != TPenStyle::psClear)
      p.Frame(rect, std::max(pen_.Width(), 1), Rgb(pen_.Color()));
  });
}

void TCanvas::DrawFocusRect(const TRect& rect) {
  Record(TCanvasOpKind::DrawFocusRect).rect = rect;
  ApplyToBitmap([&](Painter& p) { p.FocusRect(rect); });
}

TColor TCanvas::Pixels(int x, int y) const {
  return target_ != nullptr ? target_->Pixel(x, y) : -1;
}

void TCanvas::SetPixels(int x, int y, TColor color) {
  TCanvasOp& op = Record(TCanvasOpKind::Pixel);
  op.point = {x, y};
  op.color = color;
  ApplyToBitmap([&](Painter& p) { p.Put(x, y, Rgb(color)); });
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
  TCanvasOp& op = Record(TCanvasOpKind::TextOut);
  op.point = {x, y};
  op.text = text;
  penPos_ = {Saturated(std::int64_t{x} + TextWidth(text)), y};
}

void TCanvas::TextRect(const TRect& rect, int x, int y, std::string_view text) {
  TCanvasOp& op = Record(TCanvasOpKind::TextRect);
  op.rect = rect;
  op.point = {x, y};
  op.text = text;
  op.format = DT_SINGLELINE | DT_NOPREFIX;
}

TRect TCanvas::DrawText(std::string_view text, const TRect& rect, unsigned format) {
  const std::string shown = (format & DT_NOPREFIX) ? std::string(text) : WithoutPrefixes(text);
  const std::vector<std::string_view> lines =
      (format & DT_SINGLELINE) ? std::vector<std::string_view>{shown} : Lines(shown);
  std::int64_t width = 0;
  for (std::string_view line : lines)
    width = std::max<std::int64_t>(width, LineWidth(font_, line));
  const std::int64_t height = std::int64_t{CellHeight(font_)} * std::ssize(lines);
  if (format & DT_CALCRECT)
    return {rect.Left, rect.Top, Saturated(rect.Left + width), Saturated(rect.Top + height)};

  std::int64_t x = rect.Left;
  if (format & DT_CENTER)
    x += (std::int64_t{rect.Right} - rect.Left - width) / 2;
  else if (format & DT_RIGHT)
    x = rect.Right - width;
  std::int64_t y = rect.Top;
  if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
    y += (std::int64_t{rect.Bottom} - rect.Top - height) / 2;
  else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM))
    y = rect.Bottom - height;

  TCanvasOp& op = Record(TCanvasOpKind::TextRect);
  op.rect = rect;
  op.point = {Saturated(x), Saturated(y)};
  op.text = text;
  op.format = format;
  return {Saturated(x), Saturated(y), Saturated(x + width), Saturated(y + height)};
}

int FontTextHeight(const TFont& font) {
  return CellHeight(font);
}

TSize TCanvas::TextExtent(std::string_view text) const {
  return {LineWidth(font_, text), CellHeight(font_)};
}

void TCanvas::DrawImage(TCanvasOpKind kind, const TRect& dest, const TBitmap& bitmap) {
  TCanvasOp& op = Record(kind);
  op.rect = dest;
  op.point = {dest.Left, dest.Top};
  // The snapshot is taken before drawing, so a bitmap drawn onto itself reads its
  // former pixels.
  op.image = bitmap.Snapshot();
  op.source = {0, 0, bitmap.Width(), bitmap.Height()};
  op.transparent = bitmap.Transparent();
  op.transparentColor = bitmap.TransparentColor();
  ApplyToBitmap([&](Painter& p) {
    p.Blit(dest, *op.image, op.source, op.transparent, Rgb(op.transparentColor), copyMode_,
           Rgb(brush_.Color()));
  });
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
  DrawImage(TCanvasOpKind::Draw,
            {x, y, Saturated(std::int64_t{x} + bitmap.Width()),
             Saturated(std::int64_t{y} + bitmap.Height())},
            bitmap);
}

void TCanvas::StretchDraw(const TRect& rect, const TBitmap& bitmap) {
  DrawImage(TCanvasOpKind::StretchDraw, rect, bitmap);
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect) {
  TCanvasOp& op = Record(TCanvasOpKind::CopyRect);
  op.rect = dest;
  op.point = {dest.Left, dest.Top};
  op.source = sourceRect;
  if (source.target_ == nullptr) return;  // a canvas without a bitmap has no pixels
  op.image = source.target_->Snapshot();
  ApplyToBitmap([&](Painter& p) {
    p.Blit(dest, *op.image, sourceRect, false, 0, copyMode_, Rgb(brush_.Color()));
  });
}

}  // namespace ox
