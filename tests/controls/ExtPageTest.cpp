#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/ExtPage.h"
#include "ui/Canvas.h"
#include "ui/Graphics.h"

namespace ox {
namespace {

// Three pages A, B, C of fixed-size tabs, the second page's tab hidden, C active.
class ExtPageTest : public ::testing::Test {
 protected:
  ExtPageTest() {
    for (const char* caption : {"A", "B", "C"}) {
      sheets.emplace_back(new TTabSheet(nullptr));
      sheets.back()->SetCaption(caption);
      sheets.back()->SetPageControl(&pages);
    }
    sheets[1]->SetTabVisible(false);
    pages.SetTabWidth(60);
    pages.SetTabHeight(20);
    pages.SetActivePage(sheets[2].get());
  }

  TExtPageControl pages{nullptr};
  std::vector<Owned<TTabSheet>> sheets;
};

TEST_F(ExtPageTest, IsOwnerDrawnFromTheStart) {
  EXPECT_TRUE(pages.OwnerDraw());
}

TEST_F(ExtPageTest, DrawsEachVisibleTabInCaptionColoursWithItsPagesCaption) {
  TCanvas canvas;
  pages.Paint(canvas);
  const auto& ops = canvas.Operations();
  ASSERT_EQ(ops.size(), 4u);  // fill and text per visible tab

  struct Expected {
    TRect fill;
    TColor brush;
    std::string text;
    TRect textRect;
    TColor textColor;
    bool bold;
  };
  const TRect first = pages.TabRect(0);
  const TRect second = pages.TabRect(1);
  const std::vector<Expected> tabs{
      // Inactive: the whole tab, the text 2 pixels lower.
      {first, clInactiveCaption, "A",
       TRect{first.Left, first.Top + 2, first.Right, first.Bottom + 2}, clInactiveCaptionText,
       false},
      // Active (the third page on the second tab): 2 pixels inside on every side.
      {TRect{second.Left + 2, second.Top + 2, second.Right - 2, second.Bottom - 2}, clActiveCaption,
       "C", TRect{second.Left + 2, second.Top + 2, second.Right - 2, second.Bottom - 2},
       clCaptionText, true},
  };
  for (std::size_t i = 0; i < tabs.size(); ++i) {
    SCOPED_TRACE(i);
    const TCanvasOp& fill = ops[2 * i];
    const TCanvasOp& text = ops[2 * i + 1];
    EXPECT_EQ(fill.kind, TCanvasOpKind::FillRect);
    EXPECT_EQ(fill.rect, tabs[i].fill);
    EXPECT_EQ(fill.brush.Color(), tabs[i].brush);
    EXPECT_EQ(text.kind, TCanvasOpKind::TextRect);
    EXPECT_EQ(text.text, tabs[i].text);
    EXPECT_EQ(text.rect, tabs[i].textRect);
    EXPECT_EQ(text.format & (DT_SINGLELINE | DT_CENTER | DT_VCENTER),
              DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    ASSERT_NE(text.font, nullptr);
    EXPECT_EQ(text.font->Color(), tabs[i].textColor);
    EXPECT_EQ((text.font->Style() & fsBold) != 0, tabs[i].bold);
  }
}

TEST_F(ExtPageTest, OnDrawTabDrawsInstead) {
  struct Drawer {
    std::string log;
    void Draw(TCustomTabControl*, int tab, const TRect&, bool active) {
      log += std::to_string(tab) + (active ? "a " : " ");
    }
  } drawer;
  pages.OnDrawTab = MakeMethod<&Drawer::Draw>(&drawer);
  TCanvas canvas;
  pages.Paint(canvas);
  EXPECT_EQ(drawer.log, "0 1a ");
  EXPECT_TRUE(canvas.Operations().empty());
}

}  // namespace
}  // namespace ox
