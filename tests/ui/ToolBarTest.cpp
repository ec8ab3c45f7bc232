#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/WinMessages.h"
#include "tests/ui/ControlInput.h"
#include "ui/FormReader.h"
#include "ui/Forms.h"
#include "ui/Menus.h"
#include "ui/ToolBar.h"

namespace ox {
namespace {

struct Recorder {
  std::string log;
  void Clicked(TObject* sender) { log += static_cast<TComponent*>(sender)->Name() + " "; }
};

class ToolBarTest : public ::testing::Test {
 protected:
  ToolBarTest() {
    form->SetBounds(50, 60, 400, 300);
    bar = new TToolBar(form.get());
    bar->SetParent(form.get());
  }
  TToolButton* AddButton(const char* name, TToolButtonStyle style = TToolButtonStyle::tbsButton) {
    auto* button = new TToolButton(form.get());
    button->SetName(name);
    button->SetStyle(style);
    button->SetParent(bar);
    button->OnClick = MakeMethod<&Recorder::Clicked>(&recorder);
    return button;
  }

  Recorder recorder;
  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TToolBar* bar = nullptr;
};

TEST_F(ToolBarTest, ButtonsLineUpLeftToRightAndWrap) {
  EXPECT_EQ(bar->BoundsRect(), (TRect{0, 0, 400, 29}));  // aligned to the top
  AddButton("a");
  AddButton("sep", TToolButtonStyle::tbsSeparator);
  AddButton("drop", TToolButtonStyle::tbsDropDown);
  AddButton("b")->SetWrap(true);
  AddButton("c");
  const std::vector<TRect> expected{
      {0, 0, 23, 22}, {23, 0, 31, 22}, {31, 0, 65, 22}, {65, 0, 88, 22}, {0, 22, 23, 44}};
  for (int i = 0; i < bar->ButtonCount(); ++i)
    EXPECT_EQ(bar->Buttons(i)->BoundsRect(), expected[static_cast<std::size_t>(i)]) << i;

  // Too narrow a bar wraps; a hidden button takes no room; the indent moves them all.
  bar->Buttons(3)->SetWrap(false);
  bar->SetAlign(TAlign::alNone);
  bar->SetBounds(0, 0, 80, 29);
  EXPECT_EQ(bar->Buttons(3)->BoundsRect(), (TRect{0, 22, 23, 44}));
  bar->Buttons(1)->Hide();
  bar->SetIndent(5);
  EXPECT_EQ(bar->Buttons(2)->BoundsRect(), (TRect{28, 0, 62, 22}));
  EXPECT_EQ(bar->Buttons(3)->BoundsRect(), (TRect{5, 22, 28, 44}));
  EXPECT_EQ(bar->Buttons(4)->Index(), 4);
  EXPECT_THROW(bar->Buttons(5), EListError);

  // Shown captions widen every button to the widest caption.
  bar->SetIndent(0);
  bar->SetBounds(0, 0, 400, 29);
  bar->Buttons(0)->SetCaption("Wide caption");
  bar->SetShowCaptions(true);
  const int wide = bar->Buttons(0)->Width();
  EXPECT_GT(wide, 23);
  EXPECT_EQ(bar->Buttons(4)->Width(), wide);
}

TEST_F(ToolBarTest, CheckButtonsToggleAndGroupsKeepOneDown) {
  TToolButton* plain = AddButton("plain", TToolButtonStyle::tbsCheck);
  std::vector<TToolButton*> group;
  for (const char* name : {"g1", "g2", "g3"}) {
    group.push_back(AddButton(name, TToolButtonStyle::tbsCheck));
    group.back()->SetGrouped(true);
  }
  plain->Click();
  EXPECT_TRUE(plain->Down());
  plain->Click();
  EXPECT_FALSE(plain->Down());

  struct Step {
    int click;
    bool allowAllUp;
    std::vector<bool> down;
  };
  for (const Step& step : std::vector<Step>{{0, false, {true, false, false}},
                                            {2, false, {false, false, true}},
                                            {2, false, {false, false, true}},  // stays down
                                            {2, true, {false, false, false}}}) {
    group[static_cast<std::size_t>(step.click)]->SetAllowAllUp(step.allowAllUp);
    group[static_cast<std::size_t>(step.click)]->Click();
    for (std::size_t i = 0; i < group.size(); ++i)
      EXPECT_EQ(group[i]->Down(), step.down[i]) << step.click << i;
  }
  EXPECT_FALSE(plain->Down());  // not of the group
  EXPECT_EQ(recorder.log, "plain plain g1 g3 g3 g3 ");
}

TEST_F(ToolBarTest, TheArrowOfADropDownButtonDropsItsMenuDownWithoutAClick) {
  TToolButton* drop = AddButton("drop", TToolButtonStyle::tbsDropDown);
  auto* menu = new TPopupMenu(form.get());
  drop->SetDropdownMenu(menu);
  const int right = drop->Width() - 2;
  test::ClickAt(*bar, right, 5);
  EXPECT_TRUE(menu->PoppedUp());
  EXPECT_EQ(menu->PopupComponent(), drop);
  EXPECT_EQ(menu->PopupPoint(), (TPoint{50, 60 + 22}));  // below the button's left edge
  EXPECT_EQ(recorder.log, "");

  menu->CloseMenu();
  test::ClickAt(*bar, 3, 5);
  EXPECT_FALSE(menu->PoppedUp());
  EXPECT_EQ(recorder.log, "drop ");
}

TEST_F(ToolBarTest, AcceleratorsOfShownCaptionsClickTheirButton) {
  TToolButton* save = AddButton("btnInsert");
  save->SetCaption(Gb("保存(&S)"));
  TToolButton* off = AddButton("off");
  off->SetCaption("&Off");
  off->SetEnabled(false);
  form->Show();
  test::PressAlt(*bar, 's');
  EXPECT_EQ(recorder.log, "");  // captions not shown
  bar->SetShowCaptions(true);
  test::PressAlt(*bar, 's');
  test::PressAlt(*bar, 'o');
  EXPECT_EQ(recorder.log, "btnInsert ");
}

TEST_F(ToolBarTest, AMenuItemLendsItsLookAndItsClick) {
  auto* item = new TMenuItem(form.get());
  item->SetName("miOpen");
  item->SetCaption("Open");
  item->SetChecked(true);
  item->SetImageIndex(3);
  item->SetHint("Opens");
  item->OnClick = MakeMethod<&Recorder::Clicked>(&recorder);
  TToolButton* button = AddButton("btnOpen");
  button->OnClick = TMethod{};
  button->SetMenuItem(item);
  EXPECT_EQ(button->Caption(), "Open");
  EXPECT_TRUE(button->Down());
  EXPECT_EQ(button->ImageIndex(), 3);
  EXPECT_EQ(button->Hint(), "Opens");
  button->Click();
  EXPECT_EQ(recorder.log, "miOpen ");
  item->Free();
  EXPECT_EQ(button->MenuItem(), nullptr);
}

TEST(ToolBarResource, AToolBarReadsWithItsButtonsInOrder) {
  Owned<TForm> form(CreateForm<TForm>(nullptr));
  ReadComponentResource(*form, R"(
object Form1: TForm
  Width = 400
  Height = 300
  object ToolBar1: TToolBar
    ButtonHeight = 36
    ButtonWidth = 55
    EdgeBorders = []
    Flat = True
    object btnInsert: TToolButton
      Left = 0
      Caption = 'Save'
      ImageIndex = 0
    end
    object sep: TToolButton
      Left = 55
      Width = 10
      Style = tbsSeparator
    end
    object ToolButton1: TToolButton
      Left = 65
      Style = tbsDropDown
    end
  end
end)");
  auto* bar = dynamic_cast<TToolBar*>(form->FindComponent("ToolBar1"));
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->ButtonCount(), 3);
  EXPECT_EQ(bar->EdgeBorders(), 0);
  EXPECT_EQ(bar->Buttons(1)->Width(), 10);  // a separator keeps the width it was given
  EXPECT_EQ(bar->Buttons(2)->BoundsRect(), (TRect{65, 0, 131, 36}));
}

}  // namespace
}  // namespace ox
