#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/WinMessages.h"
#include "tests/ui/ControlInput.h"
#include "ui/FormReader.h"
#include "ui/FormWriter.h"
#include "ui/Forms.h"
#include "ui/Menus.h"

namespace ox {
namespace {

struct Recorder {
  std::string log;
  void Clicked(TObject* sender) { log += static_cast<TComponent*>(sender)->Name() + " "; }
  void Popped(TObject*) { log += "popup "; }
  void Key(TObject*, std::uint16_t& key, TShiftState) {
    if (key != VK_CONTROL) log += "key ";
  }
};

constexpr const char* kViewMenu = R"(
object Form1: TForm
  object mnList: TPopupMenu
    object ViewIcon: TMenuItem
      Caption = 'Icons'
      Checked = True
      GroupIndex = 1
      RadioItem = True
    end
    object ViewList: TMenuItem
      Caption = 'List'
      GroupIndex = 1
      RadioItem = True
    end
    object Sort: TMenuItem
      Caption = 'Sort'
      object SortName: TMenuItem
        Caption = 'By name'
        ShortCut = 16462
      end
    end
  end
end
)";

class MenusTest : public ::testing::Test {
 protected:
  MenusTest() {
    ReadComponentResource(*form, kViewMenu);
    menu = dynamic_cast<TPopupMenu*>(form->FindComponent("mnList"));
  }
  TMenuItem* Item(const char* name) const {
    return dynamic_cast<TMenuItem*>(form->FindComponent(name));
  }

  Recorder recorder;
  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TPopupMenu* menu = nullptr;
};

TEST_F(MenusTest, ItemsWrittenInsideEachOtherFormTheTreeAndWriteBackSo) {
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->Items()->Count(), 3);
  EXPECT_EQ(menu->Items()->Items(1), Item("ViewList"));
  EXPECT_EQ(Item("Sort")->Items(0), Item("SortName"));
  EXPECT_EQ(Item("SortName")->Parent(), Item("Sort"));
  EXPECT_EQ(Item("SortName")->GetParentMenu(), menu);
  EXPECT_EQ(Item("ViewIcon")->GetParentComponent(), menu);
  EXPECT_EQ(Item("SortName")->GetParentComponent(), Item("Sort"));
  EXPECT_EQ(Item("SortName")->ShortCut(), ShortCut('N', ssCtrl));
  EXPECT_THROW(menu->Items()->Items(3), EMenuError);

  // Written back, read into a new form, the tree is the same.
  Owned<TForm> copy(CreateForm<TForm>(nullptr));
  ReadComponentResource(*copy, WriteComponentResource(*form));
  auto* sort = dynamic_cast<TMenuItem*>(copy->FindComponent("Sort"));
  ASSERT_NE(sort, nullptr);
  EXPECT_EQ(sort->Count(), 1);
  EXPECT_TRUE(dynamic_cast<TMenuItem*>(copy->FindComponent("ViewIcon"))->Checked());
  EXPECT_EQ(sort->GetParentMenu(), copy->FindComponent("mnList"));
}

TEST_F(MenusTest, CheckingARadioItemUnchecksItsGroupAmongSiblings) {
  TMenuItem* icon = Item("ViewIcon");
  TMenuItem* list = Item("ViewList");
  auto* other = new TMenuItem(form.get());  // a radio item of another group
  other->SetRadioItem(true);
  other->SetChecked(true);
  menu->Items()->Add(other);

  list->SetChecked(true);
  EXPECT_FALSE(icon->Checked());
  EXPECT_TRUE(other->Checked());
  // Joining the group while checked turns the others off as well.
  other->SetGroupIndex(1);
  EXPECT_FALSE(list->Checked());

  // AutoCheck toggles a plain item, but a checked radio item stays checked.
  struct Case {
    bool radio;
    bool checked;
    bool after;
  };
  for (const Case& c : std::vector<Case>{
           {false, false, true}, {false, true, false}, {true, false, true}, {true, true, true}}) {
    TMenuItem item(nullptr);
    item.SetAutoCheck(true);
    item.SetRadioItem(c.radio);
    item.SetChecked(c.checked);
    item.Click();
    EXPECT_EQ(item.Checked(), c.after) << c.radio << c.checked;
  }
}

TEST_F(MenusTest, AnItemIsOnlyInOneMenuAndFreesItsSubItems) {
  TMenuItem* sortName = Item("SortName");
  EXPECT_THROW(menu->Items()->Add(sortName), EMenuError);
  EXPECT_THROW(sortName->Add(Item("Sort")), EMenuError);  // not inside itself either
  TMenuItem* sort = Item("Sort");
  sort->Delete(0);
  EXPECT_EQ(sortName->Parent(), nullptr);
  menu->Items()->Insert(0, sortName);
  EXPECT_EQ(menu->Items()->IndexOf(sortName), 0);
  sort->Add(new TMenuItem(form.get()));
  const int components = form->ComponentCount();
  sort->Free();  // and its sub-item with it
  EXPECT_EQ(form->ComponentCount(), components - 2);
  EXPECT_EQ(menu->Items()->Count(), 3);
}

TEST_F(MenusTest, RightClickPopsUpTheMenuAndClickingAnItemClosesIt) {
  auto* box = new TWinControl(form.get());
  box->SetParent(form.get());
  box->SetBounds(10, 20, 100, 50);
  auto* inner = new TWinControl(form.get());
  inner->SetParent(box);
  inner->SetBounds(5, 5, 20, 20);
  box->SetPopupMenu(menu);
  form->SetBounds(100, 200, 400, 300);
  menu->OnPopup = MakeMethod<&Recorder::Popped>(&recorder);
  Item("ViewList")->OnClick = MakeMethod<&Recorder::Clicked>(&recorder);

  // A click on a child without a menu of its own pops up its parent's.
  SendMessage(inner->Handle(), WM_RBUTTONDOWN, 0, MAKELPARAM(3, 4));
  SendMessage(inner->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(3, 4));
  EXPECT_TRUE(menu->PoppedUp());
  EXPECT_EQ(menu->PopupComponent(), box);
  EXPECT_EQ(menu->PopupPoint(), (TPoint{100 + 10 + 5 + 3, 200 + 20 + 5 + 4}));

  Item("ViewList")->Click();
  EXPECT_FALSE(menu->PoppedUp());
  EXPECT_EQ(recorder.log, "popup ViewList ");

  // Without AutoPopup the right click does nothing; a disabled item does not click.
  menu->SetAutoPopup(false);
  SendMessage(box->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(1, 1));
  Item("ViewList")->SetEnabled(false);
  Item("ViewList")->Click();
  EXPECT_EQ(recorder.log, "popup ViewList ");
}

TEST_F(MenusTest, ShortCutsOfAControlsPopupMenuClickTheirItem) {
  auto* box = new TWinControl(form.get());
  box->SetParent(form.get());
  box->SetTabStop(true);
  box->SetPopupMenu(menu);
  box->OnKeyDown = MakeMethod<&Recorder::Key>(&recorder);
  Item("Sort")->OnClick = MakeMethod<&Recorder::Clicked>(&recorder);
  Item("SortName")->OnClick = MakeMethod<&Recorder::Clicked>(&recorder);
  form->Show();

  struct Case {
    TShiftState shift;
    bool enabled;
    std::string log;
  };
  for (const Case& c : std::vector<Case>{
           {ssCtrl, true, "Sort SortName "},  // the parents first
           {ssCtrl, false, "Sort "},          // taken, but not clicked
           {0, true, "key "},                 // no short cut: the control's
       }) {
    recorder.log.clear();
    Item("SortName")->SetEnabled(c.enabled);
    test::Press(*box, 'N', c.shift);
    EXPECT_EQ(recorder.log, c.log);
  }
}

}  // namespace
}  // namespace ox
