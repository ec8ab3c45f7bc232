#include <gtest/gtest.h>

#include <set>

#include "ui/Graphics.h"

namespace ox {
namespace {

TEST(Graphics, ColourNamesReadBothWaysAndAreUnique) {
  struct Case {
    const char* name;
    TColor value;
  };
  for (const Case& c : {Case{"clRed", 0x0000FF},
                        {"clNavy", 0x800000},
                        {"clMoneyGreen", 0xC0DCC0},
                        {"clBtnFace", clBtnFace},
                        {"clInfoBk", static_cast<TColor>(0x80000018)},
                        {"cl3DDkShadow", static_cast<TColor>(0x80000015)},
                        {"clNone", 0x1FFFFFFF},
                        {"clDefault", 0x20000000}}) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ColorIdents().ValueOf(c.name), c.value);
    EXPECT_EQ(ColorIdents().NameOf(c.value), c.name);
  }
  EXPECT_EQ(ColorIdents().ValueOf("CLBTNFACE"), clBtnFace);
  EXPECT_EQ(ColorIdents().ValueOf("clPink"), std::nullopt);
  EXPECT_EQ(ColorIdents().NameOf(0x123456), std::nullopt);

  // Every name reads back from its value: no value is named twice.
  std::set<std::int64_t> values;
  for (const auto& [name, value] : ColorIdents().entries) {
    EXPECT_TRUE(values.insert(value).second) << name;
    EXPECT_EQ(ColorIdents().NameOf(value), name);
  }
}

TEST(Graphics, SystemColoursShowTheClassicScheme) {
  struct Case {
    TColor color;
    std::uint32_t rgb;
  };
  for (const Case& c : {Case{clBtnFace, 0xC8D0D4},
                        {clBtnHighlight, 0xFFFFFF},
                        {clBtnShadow, 0x808080},
                        {cl3DDkShadow, 0x404040},
                        {clWindow, 0xFFFFFF},
                        {clWindowText, 0x000000},
                        {clHighlight, 0x6A240A},
                        {clActiveCaption, 0x6A240A},
                        {clInactiveCaption, 0x808080},
                        {clInactiveCaptionText, 0xC8D0D4},
                        {clBackground, 0xA56E3A},
                        {clInfoBk, 0xE1FFFF},
                        {clGrayText, 0x808080},
                        // Plain colours and the special values pass unchanged.
                        {clRed, 0x0000FF},
                        {0x00AFFFFF, 0xAFFFFF},
                        {clNone, 0x1FFFFFFF},
                        // Only the low byte of a system colour is its index.
                        {static_cast<TColor>(0x80000105), 0xFFFFFF},
                        {static_cast<TColor>(0x80000019), 0x000000}}) {
    SCOPED_TRACE(testing::Message() << std::hex << c.color);
    EXPECT_EQ(ColorToRGB(c.color), c.rgb);
  }
}

TEST(Graphics, CharsetNames) {
  EXPECT_EQ(CharsetIdents().ValueOf("GB2312_CHARSET"), GB2312_CHARSET);
  EXPECT_EQ(CharsetIdents().NameOf(136), "CHINESEBIG5_CHARSET");
  EXPECT_EQ(CharsetIdents().NameOf(DEFAULT_CHARSET), "DEFAULT_CHARSET");
  EXPECT_EQ(CharsetIdents().ValueOf("russian_charset"), 204);
}

TEST(Font, SizeAndHeightConvertAt96DotsPerInchRoundingHalfAway) {
  struct HeightCase {
    int height;
    int size;
  };
  for (const HeightCase& c : {HeightCase{-12, 9},
                              {-11, 8},   // 8.25
                              {-13, 10},  // 9.75
                              {-14, 11},  // 10.5
                              {-2, 2},    // 1.5
                              {-16, 12},
                              {16, -12},  // a cell height gives a negative size
                              {0, 0}}) {
    SCOPED_TRACE(c.height);
    TFont font;
    font.SetHeight(c.height);
    EXPECT_EQ(font.Size(), c.size);
  }
  struct SizeCase {
    int size;
    int height;
  };
  for (const SizeCase& c : {SizeCase{9, -12},
                            {8, -11},   // 10.67
                            {10, -13},  // 13.33
                            {11, -15},  // 14.67
                            {14, -19},
                            {-9, 12}}) {
    SCOPED_TRACE(c.size);
    TFont font;
    font.SetSize(c.size);
    EXPECT_EQ(font.Height(), c.height);
  }
  TFont huge;
  huge.SetSize(2000000000);  // far beyond int pixels: clamped, never overflowing
  EXPECT_LT(huge.Height(), 0);
  EXPECT_GT(huge.Size(), 0);
}

TEST(Font, PublishedPropertiesReadAndWriteByName) {
  TFont font;
  const ClassInfo& info = font.classInfo();
  EXPECT_EQ(font.ClassName(), "TFont");
  std::vector<std::string> names;
  for (const PropInfo* prop : info.Properties())
    names.push_back(prop->name);
  EXPECT_EQ(names,
            (std::vector<std::string>{"Charset", "Color", "Height", "Name", "Size", "Style"}));
  EXPECT_EQ(info.FindProperty("Color")->identMap, &ColorIdents());
  EXPECT_EQ(info.FindProperty("Charset")->identMap, &CharsetIdents());
  EXPECT_EQ(info.FindProperty("Style")->kind, PropKind::Set);
  EXPECT_EQ(info.FindProperty("Name")->kind, PropKind::String);

  auto set = [&](const char* name, const Variant& value) {
    SetPropValue(font, *info.FindProperty(name), value);
  };
  set("Color", "clBtnFace");
  set("Charset", "GB2312_CHARSET");
  set("Style", "[fsBold, fsStrikeOut]");
  set("Name", "Tahoma");
  set("Size", 9);
  EXPECT_EQ(font.Color(), clBtnFace);
  EXPECT_EQ(font.Charset(), 134);
  EXPECT_EQ(font.Style(), fsBold | fsStrikeOut);
  EXPECT_EQ(font.Name(), "Tahoma");
  EXPECT_EQ(font.Height(), -12);
  EXPECT_EQ(GetPropValue(font, *info.FindProperty("Style")), Variant("[fsBold,fsStrikeOut]"));
  EXPECT_EQ(GetPropValue(font, *info.FindProperty("Color")), Variant(clBtnFace));
  set("Color", 0xAFFFFF);
  EXPECT_EQ(font.Color(), 0xAFFFFF);
  EXPECT_THROW(set("Style", "[fsShadow]"), EPropertyError);
  EXPECT_THROW(set("Color", "clPink"), EPropertyError);
}

// Counts OnChange calls of a font.
struct ChangeCounter {
  int count = 0;
  TObject* sender = nullptr;
  void Changed(TObject* from) {
    ++count;
    sender = from;
  }
};

TEST(Font, OnChangeFiresOncePerRealChangeAndAssignCopiesEverything) {
  TFont font;
  ChangeCounter counter;
  font.OnChange = MakeMethod<&ChangeCounter::Changed>(&counter);

  font.SetColor(clRed);
  font.SetColor(clRed);
  font.SetName("");  // an empty face name is ignored
  font.SetName(font.Name());
  font.SetSize(font.Size());
  font.SetStyle(fsItalic | 0x100);  // bits beyond the four styles are dropped
  EXPECT_EQ(counter.count, 2);
  EXPECT_EQ(counter.sender, &font);
  EXPECT_EQ(font.Style(), fsItalic);
  EXPECT_EQ(font.Name(), "MS Sans Serif");

  TFont other;
  other.SetName("Tahoma");
  other.SetHeight(-13);
  other.SetCharset(GB2312_CHARSET);
  other.SetColor(clNavy);
  other.SetStyle(fsBold | fsUnderline);
  counter.count = 0;
  font.Assign(other);
  EXPECT_EQ(counter.count, 1);
  EXPECT_TRUE(font == other);
  EXPECT_EQ(font.Name(), "Tahoma");
  EXPECT_EQ(font.Size(), 10);
  font.Assign(other);  // nothing differs
  EXPECT_EQ(counter.count, 1);

  TStringList list;
  EXPECT_THROW(font.Assign(list), EConvertError);
}

}  // namespace
}  // namespace ox
