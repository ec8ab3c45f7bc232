// Colours and fonts: TColor values as the framework writes them (0x00BBGGRR, and the
// system colours from 0x80000000 up), their names ("clRed", "clBtnFace"), and TFont
// with its published properties.
#pragma once

#include <cstdint>
#include <string>

#include "ui/Classes.h"

namespace ox {

using TColor = std::int32_t;

struct TPoint {
  int X = 0, Y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TSize {
  int cx = 0, cy = 0;
  bool operator==(const TSize&) const = default;
};

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
  bool operator==(const TRect&) const = default;
};

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;
// System colours: 0x80000000 + the Windows colour index.
inline constexpr TColor clScrollBar = static_cast<TColor>(0x80000000);
inline constexpr TColor clBackground = static_cast<TColor>(0x80000001);
inline constexpr TColor clActiveCaption = static_cast<TColor>(0x80000002);
inline constexpr TColor clInactiveCaption = static_cast<TColor>(0x80000003);
inline constexpr TColor clMenu = static_cast<TColor>(0x80000004);
inline constexpr TColor clWindow = static_cast<TColor>(0x80000005);
inline constexpr TColor clWindowFrame = static_cast<TColor>(0x80000006);
inline constexpr TColor clMenuText = static_cast<TColor>(0x80000007);
inline constexpr TColor clWindowText = static_cast<TColor>(0x80000008);
inline constexpr TColor clCaptionText = static_cast<TColor>(0x80000009);
inline constexpr TColor clActiveBorder = static_cast<TColor>(0x8000000A);
inline constexpr TColor clInactiveBorder = static_cast<TColor>(0x8000000B);
inline constexpr TColor clAppWorkSpace = static_cast<TColor>(0x8000000C);
inline constexpr TColor clHighlight = static_cast<TColor>(0x8000000D);
inline constexpr TColor clHighlightText = static_cast<TColor>(0x8000000E);
inline constexpr TColor clBtnFace = static_cast<TColor>(0x8000000F);
inline constexpr TColor clBtnShadow = static_cast<TColor>(0x80000010);
inline constexpr TColor clGrayText = static_cast<TColor>(0x80000011);
inline constexpr TColor clBtnText = static_cast<TColor>(0x80000012);
inline constexpr TColor clInactiveCaptionText = static_cast<TColor>(0x80000013);
inline constexpr TColor clBtnHighlight = static_cast<TColor>(0x80000014);
inline constexpr TColor cl3DDkShadow = static_cast<TColor>(0x80000015);
inline constexpr TColor cl3DLight = static_cast<TColor>(0x80000016);
inline constexpr TColor clInfoText = static_cast<TColor>(0x80000017);
inline constexpr TColor clInfoBk = static_cast<TColor>(0x80000018);

// The names of the colours for form resources and property texts.
const IdentMap& ColorIdents();
// The RGB value (0x00BBGGRR) a colour shows as: system colours through the classic
// Windows scheme, other colours as they are.
std::uint32_t ColorToRGB(TColor color);

// Character sets of fonts, with their names ("GB2312_CHARSET", ...).
inline constexpr int ANSI_CHARSET = 0;
inline constexpr int DEFAULT_CHARSET = 1;
inline constexpr int SYMBOL_CHARSET = 2;
inline constexpr int SHIFTJIS_CHARSET = 128;
inline constexpr int GB2312_CHARSET = 134;
inline constexpr int CHINESEBIG5_CHARSET = 136;
inline constexpr int OEM_CHARSET = 255;
const IdentMap& CharsetIdents();

// Font styles as set bits: "[fsBold,fsItalic]".
enum TFontStyle : int {
  fsBold = 1 << 0,
  fsItalic = 1 << 1,
  fsUnderline = 1 << 2,
  fsStrikeOut = 1 << 3
};

// A font. Height is in pixels (negative: character height, as form resources store
// it); Size is in points at 96 pixels per inch: Size = -Height * 72 / 96, rounded.
class TFont : public TPersistent {
 public:
  OX_CLASS_INFO()
  TFont();

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);
  int Height() const { return height_; }
  void SetHeight(int height);
  int Size() const;
  void SetSize(int size);
  int Charset() const { return charset_; }
  void SetCharset(int charset);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int Style() const { return style_; }  // TFontStyle bits
  void SetStyle(int style);
  int PixelsPerInch() const { return 96; }

  void Assign(const TPersistent& source) override;
  bool operator==(const TFont& other) const;

  // Called after any change, so a control can repaint or stop using its parent font.
  TNotifyEvent OnChange;

 private:
  void Changed();

  std::string name_ = "MS Sans Serif";
  int height_ = -11;
  int charset_ = DEFAULT_CHARSET;
  TColor color_ = clWindowText;
  int style_ = 0;
};

}  // namespace ox
