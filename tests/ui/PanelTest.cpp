#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/FormReader.h"
#include "ui/Forms.h"
#include "ui/Panel.h"

namespace ox {
namespace {

TEST(Panel, AlignedChildrenFillWhatTheBevelsAndBordersLeave) {
  struct Case {
    const char* name;
    TBevelCut outer, inner;
    int bevelWidth, borderWidth;
    TBorderStyle border;
    int clientWidth;
    TRect child;  // of an alClient child in a 185 x 41 panel
  };
  const std::vector<Case> cases{
      {"raised outer bevel",
       TBevelCut::bvRaised,
       TBevelCut::bvNone,
       1,
       0,
       TBorderStyle::bsNone,
       185,
       {1, 1, 184, 40}},
      {"no bevels",
       TBevelCut::bvNone,
       TBevelCut::bvNone,
       1,
       0,
       TBorderStyle::bsNone,
       185,
       {0, 0, 185, 41}},
      {"two bevels and a border width",
       TBevelCut::bvRaised,
       TBevelCut::bvLowered,
       2,
       3,
       TBorderStyle::bsNone,
       185,
       {7, 7, 178, 34}},
      {"inner bevel only",
       TBevelCut::bvNone,
       TBevelCut::bvSpace,
       4,
       0,
       TBorderStyle::bsNone,
       185,
       {4, 4, 181, 37}},
      {"single border",
       TBevelCut::bvNone,
       TBevelCut::bvNone,
       1,
       0,
       TBorderStyle::bsSingle,
       181,
       {0, 0, 181, 37}},
      {"single border and bevel",
       TBevelCut::bvRaised,
       TBevelCut::bvNone,
       1,
       0,
       TBorderStyle::bsSingle,
       181,
       {1, 1, 180, 36}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Owned<TPanel> panel{new TPanel(nullptr)};
    auto* child = new TWinControl(panel.get());
    child->SetParent(panel.get());
    child->SetAlign(TAlign::alClient);
    panel->SetBevelOuter(c.outer);
    panel->SetBevelInner(c.inner);
    panel->SetBevelWidth(c.bevelWidth);
    panel->SetBorderWidth(c.borderWidth);
    panel->SetBorderStyle(c.border);
    EXPECT_EQ(panel->ClientWidth(), c.clientWidth);
    EXPECT_EQ(child->BoundsRect(), c.child);
  }
}

TEST(Panel, ClientSizeSetsTheOuterSizeAroundTheBorder) {
  Owned<TPanel> panel{new TPanel(nullptr)};
  panel->SetBorderStyle(TBorderStyle::bsSingle);
  panel->SetClientWidth(100);
  panel->SetClientHeight(20);
  EXPECT_EQ(panel->Width(), 104);
  EXPECT_EQ(panel->Height(), 24);
  panel->SetBevelWidth(0);    // at least 1
  panel->SetBorderWidth(-5);  // at least 0
  EXPECT_EQ(panel->BevelWidth(), 1);
  EXPECT_EQ(panel->BorderWidth(), 0);
}

TEST(Panel, AFormResourceSetsTheFrame) {
  Owned<TForm> form{new TForm(nullptr)};
  ReadComponentResource(*form, R"(object Form1: TForm
  object Panel1: TPanel
    Width = 300
    Height = 43
    Align = alBottom
    BevelOuter = bvNone
    BevelInner = bvLowered
    BorderWidth = 2
    Caption = ' '
    ParentBackground = False
    object btnOk: TPanel
      Align = alClient
    end
  end
end)");
  auto* panel = dynamic_cast<TPanel*>(form->FindComponent("Panel1"));
  auto* inner = dynamic_cast<TPanel*>(form->FindComponent("btnOk"));
  ASSERT_NE(panel, nullptr);
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(panel->BevelOuter(), TBevelCut::bvNone);
  EXPECT_FALSE(panel->ParentBackground());
  EXPECT_EQ(inner->Left(), 3);
  EXPECT_EQ(inner->Height(), 43 - 6);
}

}  // namespace
}  // namespace ox
