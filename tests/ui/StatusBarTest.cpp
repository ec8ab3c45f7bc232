#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "ui/FormReader.h"
#include "ui/FormWriter.h"
#include "ui/Forms.h"
#include "ui/StatusBar.h"

namespace ox {
namespace {

constexpr const char* kForm = R"(
object Form1: TForm
  Width = 400
  Height = 300
  object StatusBar1: TStatusBar
    Panels = <
      item
        Text = '就绪'
        Width = 100
      end
      item
        Alignment = taCenter
        Bevel = pbRaised
        Width = 80
      end
      item
        Style = psOwnerDraw
      end>
    SimpleText = 'simple'
  end
end
)";

TEST(StatusBar, SitsAtTheBottomWithItsPanelsSideBySide) {
  Owned<TForm> form(CreateForm<TForm>(nullptr));
  ReadComponentResource(*form, kForm);
  auto* bar = dynamic_cast<TStatusBar*>(form->FindComponent("StatusBar1"));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->Align(), TAlign::alBottom);
  EXPECT_EQ(bar->BoundsRect(), (TRect{0, 281, 400, 300}));
  ASSERT_EQ(bar->Panels()->Count(), 3);
  EXPECT_EQ(bar->Panels()->Items(0)->Text(), Gb("就绪"));
  EXPECT_EQ(bar->Panels()->Items(1)->Alignment(), TAlignment::taCenter);
  EXPECT_EQ(bar->Panels()->Items(1)->Bevel(), TStatusPanelBevel::pbRaised);
  EXPECT_EQ(bar->Panels()->Items(2)->Style(), TStatusPanelStyle::psOwnerDraw);
  EXPECT_EQ(bar->Panels()->Items(2)->Width(), 50);
  EXPECT_TRUE(bar->SizeGrip());

  EXPECT_EQ(bar->PanelRect(1), (TRect{100, 0, 180, 19}));
  EXPECT_EQ(bar->PanelRect(2), (TRect{180, 0, 400, 19}));  // the last one reaches the edge
  EXPECT_EQ(bar->PanelRect(3), (TRect{}));
  bar->SetSimplePanel(true);
  EXPECT_EQ(bar->PanelRect(0), (TRect{}));
  EXPECT_EQ(bar->SimpleText(), "simple");
}

TEST(StatusBar, WritesOnlyWhatDiffersFromTheDefaults) {
  Owned<TForm> form(CreateForm<TForm>(nullptr));
  ReadComponentResource(*form, kForm);
  const std::string text = WriteComponentResource(*form);
  EXPECT_EQ(text.find("Align ="), std::string::npos);
  EXPECT_EQ(text.find("SizeGrip"), std::string::npos);
  EXPECT_NE(text.find("Bevel = pbRaised"), std::string::npos);

  Owned<TForm> copy(CreateForm<TForm>(nullptr));
  ReadComponentResource(*copy, text);
  auto* bar = dynamic_cast<TStatusBar*>(copy->FindComponent("StatusBar1"));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->Panels()->Count(), 3);
  EXPECT_EQ(bar->Panels()->Items(0)->Text(), Gb("就绪"));
  EXPECT_EQ(bar->Panels()->Items(1)->Width(), 80);
}

}  // namespace
}  // namespace ox
