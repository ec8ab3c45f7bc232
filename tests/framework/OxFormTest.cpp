#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/QmxEdit.h"
#include "controls/SelectPnl.h"
#include "framework/OxForm.h"
#include "lib/LibVCLs.h"
#include "platform/CodePage.h"
#include "tests/support/TestMachine.h"
#include "ui/BitBtn.h"
#include "ui/Edit.h"
#include "ui/Label.h"
#include "ui/SpeedButton.h"

namespace ox {
namespace {

// Two forms below the base form, for the order of the language packages.
class TfrmChainBase : public TOxForm {
 public:
  OX_CLASS_INFO()
  using TOxForm::TOxForm;
};

class TfrmChainLeaf : public TfrmChainBase {
 public:
  OX_CLASS_INFO()
  using TfrmChainBase::TfrmChainBase;
};

const ClassInfo& TfrmChainBase::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TfrmChainBase>("TfrmChainBase", &TOxForm::StaticClassInfo()).build();
  return info;
}

const ClassInfo& TfrmChainLeaf::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TfrmChainLeaf>("TfrmChainLeaf", &TfrmChainBase::StaticClassInfo()).build();
  return info;
}

// A glyph drawn from rows of characters: '.' the transparent colour (fuchsia, taken from
// the bottom-left pixel), 'L' a light grey, 'G' grey at exactly R+G+B = 384 (still
// light), 'K' just below it (dark).
void DrawGlyph(TBitmap& glyph, const std::vector<std::string>& rows) {
  glyph.SetSize(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (int y = 0; y < glyph.Height(); ++y) {
    for (int x = 0; x < glyph.Width(); ++x) {
      switch (rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]) {
        case 'L':
          glyph.SetPixel(x, y, 0xC0C0C0);
          break;
        case 'G':
          glyph.SetPixel(x, y, 0x808080);
          break;
        case 'K':
          glyph.SetPixel(x, y, 0x7F7F7F);
          break;
        default:
          glyph.SetPixel(x, y, clFuchsia);
      }
    }
  }
}

// The disabled half read back as rows: 'S' shadow, 'H' highlight, '.' face, '?' other.
std::vector<std::string> DisabledHalf(const TBitmap& glyph) {
  const int half = glyph.Width() / 2;
  std::vector<std::string> rows;
  for (int y = 0; y < glyph.Height(); ++y) {
    std::string row;
    for (int x = half; x < glyph.Width(); ++x) {
      const auto pixel = static_cast<std::uint32_t>(glyph.Pixel(x, y));
      row += pixel == ColorToRGB(clBtnShadow)      ? 'S'
             : pixel == ColorToRGB(clBtnHighlight) ? 'H'
             : pixel == ColorToRGB(clBtnFace)      ? '.'
                                                   : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

std::vector<TColor> Pixels(const TBitmap& bitmap, int fromX, int width) {
  std::vector<TColor> pixels;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = fromX; x < fromX + width; ++x)
      pixels.push_back(bitmap.Pixel(x, y));
  return pixels;
}

class OxFormTest : public ::testing::Test {
 protected:
  // A client installation whose configuration names the user interface's code page.
  void Install(std::string_view uiCodePage) const {
    machine.InstallClient("[CodePage]\r\nUICodePage=" + std::string(uiCodePage) + "\r\n");
  }

  template <typename T>
  T* Add(TOxForm& form, const std::string& name) {
    auto* component = new T(&form);
    component->SetName(name);
    if (auto* control = dynamic_cast<TControl*>(static_cast<TComponent*>(component)))
      control->SetParent(&form);
    return component;
  }

  test::TestMachine machine{936};
};

TEST_F(OxFormTest, FormCreateClearsInputMethodsAndSetsTheEnglishInterfaceFont) {
  const struct Case {
    const char* uiCodePage;
    bool english;
  } cases[] = {{"437", true}, {"936", false}, {"950", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.uiCodePage);
    Install(c.uiCodePage);
    Owned<TOxForm> form(CreateForm<TOxForm>(nullptr));
    auto* edit = Add<TEdit>(*form, "edName");
    auto* label = Add<TLabel>(*form, "lblName");
    for (TControl* control : {static_cast<TControl*>(edit), static_cast<TControl*>(label)}) {
      control->Font()->SetName("Arial");
      control->Font()->SetCharset(CHINESEBIG5_CHARSET);
    }
    SetStringProperty(edit, "ImeName", "Pinyin");

    form->FormCreate(form.get());

    EXPECT_EQ(GetStringProperty(edit, "ImeName"), "");
    for (const TControl* control :
         {static_cast<const TControl*>(edit), static_cast<const TControl*>(label)}) {
      SCOPED_TRACE(control->Name());
      EXPECT_EQ(control->Font()->Name(), c.english ? "Tahoma" : "Arial");
      EXPECT_EQ(control->Font()->Charset(), c.english ? 134 : CHINESEBIG5_CHARSET);
    }
    // The form's own font is not one of its components'.
    EXPECT_EQ(form->Font()->Name(), Gb("宋体"));
  }
}

TEST_F(OxFormTest, TwoStateGlyphEmbossesTheOutlineOfDarkAndEdgePixels) {
  TBitmap glyph;
  const std::vector<std::string> image = {
      "......",  //
      ".LLLL.",  //
      ".LGKL.",  //
      ".LLLL.",  //
      ".LLLL.",  //
      "......",  //
  };
  DrawGlyph(glyph, image);
  const std::vector<TColor> before = Pixels(glyph, 0, 6);

  TOxForm::MakeTwoStateGlyph(glyph);

  ASSERT_EQ(glyph.Width(), 12);
  ASSERT_EQ(glyph.Height(), 6);
  EXPECT_EQ(Pixels(glyph, 0, 6), before);
  // The outline is every dark pixel and every light one beside the background; the
  // grey at 384 inside is light and away from the background. Shadow on the outline,
  // highlight one pixel down and right of it, face elsewhere.
  EXPECT_EQ(DisabledHalf(glyph), (std::vector<std::string>{
                                     "......",  //
                                     ".SSSS.",  //
                                     ".SHSSH",  //
                                     ".SH.SH",  //
                                     ".SSSSH",  //
                                     "..HHHH",  //
                                 }));
}

TEST_F(OxFormTest, TwoStateGlyphOfOnlyBackgroundIsAllFace) {
  TBitmap glyph;
  DrawGlyph(glyph, {"...", "...", "..."});
  TOxForm::MakeTwoStateGlyph(glyph);
  EXPECT_EQ(DisabledHalf(glyph), (std::vector<std::string>{"...", "...", "..."}));
  EXPECT_EQ(Pixels(glyph, 0, 3), std::vector<TColor>(9, clFuchsia));
}

TEST_F(OxFormTest, FormCreateGivesTwoStatesOnlyToOneImageGlyphs) {
  Owned<TOxForm> form(CreateForm<TOxForm>(nullptr));
  TBitmap one, two;
  DrawGlyph(one, {"....", ".KK.", ".KK.", "...."});
  DrawGlyph(two, {"........", ".KK..LL.", ".KK..LL.", "........"});

  auto* bitOne = Add<TBitBtn>(*form, "bbOne");
  bitOne->SetGlyph(&one);
  auto* bitTwo = Add<TBitBtn>(*form, "bbTwo");
  bitTwo->SetGlyph(&two);
  ASSERT_EQ(bitTwo->NumGlyphs(), 2);
  const std::vector<TColor> twoBefore = Pixels(*bitTwo->Glyph(), 0, 8);
  auto* speed = Add<TSpeedButton>(*form, "sbOne");
  speed->SetGlyph(&one);
  auto* bare = Add<TSpeedButton>(*form, "sbBare");
  auto* edit = Add<TOxBtnDBEdit>(*form, "edCode");
  auto* panel = Add<TSelectPanel>(*form, "spCode");
  // An edit whose lookup button is gone is passed over.
  Add<TOxBtnDBEdit>(*form, "edGone")->Button()->Free();

  form->FormCreate(form.get());

  EXPECT_EQ(bitOne->NumGlyphs(), 2);
  EXPECT_EQ(bitOne->Glyph()->Width(), 8);
  EXPECT_EQ(speed->NumGlyphs(), 2);
  EXPECT_EQ(speed->Glyph()->Width(), 8);
  EXPECT_EQ(bitTwo->NumGlyphs(), 2);
  EXPECT_EQ(Pixels(*bitTwo->Glyph(), 0, 8), twoBefore);
  EXPECT_EQ(bare->NumGlyphs(), 1);
  EXPECT_TRUE(bare->Glyph()->Empty());
  for (TSpeedButton* embedded : {static_cast<TSpeedButton*>(edit->Button()),
                                 static_cast<TSpeedButton*>(panel->BeginButton()),
                                 static_cast<TSpeedButton*>(panel->FinalButton()),
                                 static_cast<TSpeedButton*>(panel->ListButton())}) {
    SCOPED_TRACE(embedded->Name());
    ASSERT_FALSE(embedded->Glyph()->Empty());
    EXPECT_EQ(embedded->NumGlyphs(), 2);
    EXPECT_EQ(embedded->Glyph()->Width(), 2 * embedded->Glyph()->Height());
  }
}

TEST_F(OxFormTest, ConvertTextsConvertsOnlyOnce) {
  Install("950");
  Owned<TOxForm> form(CreateForm<TOxForm>(nullptr));
  auto* label = Add<TLabel>(*form, "lblTitle");
  label->SetCaption(Gb("报表"));
  EXPECT_FALSE(form->Converted());

  form->ConvertTexts();
  form->ConvertTexts();

  EXPECT_TRUE(form->Converted());
  EXPECT_EQ(label->Caption(), Utf8ToAnsi("報表", 950));
}

TEST_F(OxFormTest, LanguagePackagesFollowTheClassChainFromTheBase) {
  Owned<TfrmChainLeaf> form(CreateForm<TfrmChainLeaf>(nullptr));
  EXPECT_EQ(ClassChainNames(*form, true),
            (std::vector<std::string>{"TOxForm", "TfrmChainBase", "TfrmChainLeaf"}));
  EXPECT_EQ(ClassChainNames(*form, false),
            (std::vector<std::string>{"TfrmChainBase", "TfrmChainLeaf"}));
}

}  // namespace
}  // namespace ox
