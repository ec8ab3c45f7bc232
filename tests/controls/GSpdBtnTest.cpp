#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/GSpdBtn.h"
#include "platform/CodePage.h"
#include "ui/Dialogs.h"

namespace ox {
namespace {

class GSpeedButtonTest : public ::testing::Test {
 protected:
  void SetUp() override { HeadlessMessages().Reset(); }
  void TearDown() override { HeadlessMessages().Reset(); }

  Owned<TGSpeedButton> button{new TGSpeedButton(nullptr)};
};

TEST_F(GSpeedButtonTest, GlyphNumberLoadsTheGlyphOrLeavesTheNumberShowing) {
  struct Case {
    int index;
    std::string caption;
    int glyphWidth;  // 0: no glyph
    int numGlyphs;
    bool reported;
  };
  const std::vector<Case> cases{
      {47, "", 16, 1, false},      {4, "", 32, 2, false}, {0, "0", 0, 1, false},
      {1000, "1000", 0, 1, false}, {5, "5", 0, 1, true},  {-3, "-3", 0, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    button->SetGlyphIndex(85);  // a loaded glyph, to see it released
    ASSERT_FALSE(button->Glyph()->Empty());
    button->SetNumGlyphs(1);
    HeadlessMessages().Reset();

    button->SetGlyphIndex(c.index);
    EXPECT_EQ(button->GlyphIndex(), c.index);
    EXPECT_EQ(button->Caption(), c.caption);
    EXPECT_EQ(button->Glyph()->Width(), c.glyphWidth);
    EXPECT_EQ(button->NumGlyphs(), c.numGlyphs);
    const auto& records = HeadlessMessages().Records();
    ASSERT_EQ(records.size(), c.reported ? 1u : 0u);
    if (c.reported) {
      EXPECT_EQ(records[0].request.text, Gb("读取 BMP 发生错误"));
      EXPECT_EQ(records[0].request.type, mtError);
      EXPECT_EQ(records[0].request.buttons, std::vector<TMsgDlgBtn>{mbOK});
    }
  }
}

TEST_F(GSpeedButtonTest, TheSameNumberAgainChangesNothing) {
  button->SetGlyphIndex(5);
  button->SetCaption("x");
  button->SetGlyphIndex(5);
  EXPECT_EQ(button->Caption(), "x");
  EXPECT_EQ(HeadlessMessages().Records().size(), 1u);
}

}  // namespace
}  // namespace ox
