#include "ui/Graphics.h"

#include <algorithm>
#include <climits>

namespace ox {

namespace {

// Windows MulDiv for a positive divisor: a * b / c without overflow, rounded half away
// from zero, kept within int (and above INT_MIN, so the caller may negate it).
int MulDiv(int a, int b, int c) {
  const std::int64_t product = std::int64_t{a} * b;
  const std::int64_t quotient = (product >= 0 ? product + c / 2 : product - c / 2) / c;
  return static_cast<int>(std::clamp<std::int64_t>(quotient, -INT_MAX, INT_MAX));
}

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return r | (g << 8) | (b << 16);
}

// The "Windows Classic" scheme (the Windows 2000 defaults), by system colour index.
constexpr std::uint32_t kClassicScheme[] = {
    Rgb(212, 208, 200),  // scroll bar
    Rgb(58, 110, 165),   // desktop
    Rgb(10, 36, 106),    // active caption
    Rgb(128, 128, 128),  // inactive caption
    Rgb(212, 208, 200),  // menu
    Rgb(255, 255, 255),  // window
    Rgb(0, 0, 0),        // window frame
    Rgb(0, 0, 0),        // menu text
    Rgb(0, 0, 0),        // window text
    Rgb(255, 255, 255),  // caption text
    Rgb(212, 208, 200),  // active border
    Rgb(212, 208, 200),  // inactive border
    Rgb(128, 128, 128),  // application workspace
    Rgb(10, 36, 106),    // highlight
    Rgb(255, 255, 255),  // highlight text
    Rgb(212, 208, 200),  // button face
    Rgb(128, 128, 128),  // button shadow
    Rgb(128, 128, 128),  // gray text
    Rgb(0, 0, 0),        // button text
    Rgb(212, 208, 200),  // inactive caption text
    Rgb(255, 255, 255),  // button highlight
    Rgb(64, 64, 64),     // 3-D dark shadow
    Rgb(212, 208, 200),  // 3-D light
    Rgb(0, 0, 0),        // info text
    Rgb(255, 255, 225),  // info background
};

}  // namespace

const IdentMap& ColorIdents() {
  // The framework's colour names, including its four extra named colours.
  static const IdentMap map{{
      {"clBlack", clBlack},
      {"clMaroon", clMaroon},
      {"clGreen", clGreen},
      {"clOlive", clOlive},
      {"clNavy", clNavy},
      {"clPurple", clPurple},
      {"clTeal", clTeal},
      {"clGray", clGray},
      {"clSilver", clSilver},
      {"clRed", clRed},
      {"clLime", clLime},
      {"clYellow", clYellow},
      {"clBlue", clBlue},
      {"clFuchsia", clFuchsia},
      {"clAqua", clAqua},
      {"clWhite", clWhite},
      {"clMoneyGreen", 0xC0DCC0},
      {"clSkyBlue", 0xF0CAA6},
      {"clCream", 0xF0FBFF},
      {"clMedGray", 0xA4A0A0},
      {"clScrollBar", clScrollBar},
      {"clBackground", clBackground},
      {"clActiveCaption", clActiveCaption},
      {"clInactiveCaption", clInactiveCaption},
      {"clMenu", clMenu},
      {"clWindow", clWindow},
      {"clWindowFrame", clWindowFrame},
      {"clMenuText", clMenuText},
      {"clWindowText", clWindowText},
      {"clCaptionText", clCaptionText},
      {"clActiveBorder", clActiveBorder},
      {"clInactiveBorder", clInactiveBorder},
      {"clAppWorkSpace", clAppWorkSpace},
      {"clHighlight", clHighlight},
      {"clHighlightText", clHighlightText},
      {"clBtnFace", clBtnFace},
      {"clBtnShadow", clBtnShadow},
      {"clGrayText", clGrayText},
      {"clBtnText", clBtnText},
      {"clInactiveCaptionText", clInactiveCaptionText},
      {"clBtnHighlight", clBtnHighlight},
      {"cl3DDkShadow", cl3DDkShadow},
      {"cl3DLight", cl3DLight},
      {"clInfoText", clInfoText},
      {"clInfoBk", clInfoBk},
      {"clNone", clNone},
      {"clDefault", clDefault},
  }};
  return map;
}

std::uint32_t ColorToRGB(TColor color) {
  if (color >= 0) return static_cast<std::uint32_t>(color);
  // As GetSysColor: the low byte is the index; an unknown index shows black.
  const auto index = static_cast<std::size_t>(color & 0xFF);
  return index < std::size(kClassicScheme) ? kClassicScheme[index] : 0;
}

const IdentMap& CharsetIdents() {
  static const IdentMap map{{
      {"ANSI_CHARSET", ANSI_CHARSET},
      {"DEFAULT_CHARSET", DEFAULT_CHARSET},
      {"SYMBOL_CHARSET", SYMBOL_CHARSET},
      {"MAC_CHARSET", 77},
      {"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET},
      {"HANGEUL_CHARSET", 129},
      {"JOHAB_CHARSET", 130},
      {"GB2312_CHARSET", GB2312_CHARSET},
      {"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET},
      {"GREEK_CHARSET", 161},
      {"TURKISH_CHARSET", 162},
      {"VIETNAMESE_CHARSET", 163},
      {"HEBREW_CHARSET", 177},
      {"ARABIC_CHARSET", 178},
      {"BALTIC_CHARSET", 186},
      {"RUSSIAN_CHARSET", 204},
      {"THAI_CHARSET", 222},
      {"EASTEUROPE_CHARSET", 238},
      {"OEM_CHARSET", OEM_CHARSET},
  }};
  return map;
}

// ---- TFont -----------------------------------------------------------------

const ClassInfo& TFont::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TFont>("TFont", &TPersistent::StaticClassInfo())
          .integer("Charset", &TFont::Charset, &TFont::SetCharset, CharsetIdents())
          .integer("Color", &TFont::Color, &TFont::SetColor, ColorIdents())
          .property("Height", &TFont::Height, &TFont::SetHeight)
          .property("Name", &TFont::Name, &TFont::SetName)
          .property("Size", &TFont::Size, &TFont::SetSize)
          .set("Style", &TFont::Style, &TFont::SetStyle,
               {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"})
          .build();
  return info;
}

TFont::TFont() = default;

// Setters report a change only when the value differs, so a control that listens to
// its font repaints once per real change.
void TFont::SetName(const std::string& name) {
  // The framework ignores an empty face name.
  if (name.empty() || name == name_) return;
  name_ = name;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == height_) return;
  height_ = height;
  Changed();
}

int TFont::Size() const {
  return -MulDiv(height_, 72, PixelsPerInch());
}

void TFont::SetSize(int size) {
  SetHeight(-MulDiv(size, PixelsPerInch(), 72));
}

void TFont::SetCharset(int charset) {
  // A character set is a byte.
  charset &= 0xFF;
  if (charset == charset_) return;
  charset_ = charset;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TFont::SetStyle(int style) {
  style &= fsBold | fsItalic | fsUnderline | fsStrikeOut;
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TFont::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TFont*>(&source);
  if (other == nullptr) return TPersistent::Assign(source);
  if (*other == *this) return;
  name_ = other->name_;
  height_ = other->height_;
  charset_ = other->charset_;
  color_ = other->color_;
  style_ = other->style_;
  Changed();
}

bool TFont::operator==(const TFont& other) const {
  return name_ == other.name_ && height_ == other.height_ && charset_ == other.charset_ &&
         color_ == other.color_ && style_ == other.style_;
}

void TFont::Changed() {
  OnChange(this);
}

}  // namespace ox
