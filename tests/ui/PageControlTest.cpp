#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/WinMessages.h"
#include "tests/ui/ControlInput.h"
#include "ui/Canvas.h"
#include "ui/FormReader.h"
#include "ui/Forms.h"
#include "ui/PageControl.h"

namespace ox {
namespace {

// Logs the page control's change events and the sheets' show and hide events.
struct Recorder {
  std::string log;
  bool allow = true;
  void Changing(TObject*, bool& allowChange) {
    log += "changing ";
    allowChange = allow;
  }
  void Changed(TObject*) { log += "change "; }
  void Shown(TObject* sender) { log += "show:" + static_cast<TComponent*>(sender)->Name() + " "; }
  void Hidden(TObject* sender) { log += "hide:" + static_cast<TComponent*>(sender)->Name() + " "; }
};

// A click in the middle of a tab.
void ClickTab(TPageControl& pages, int index) {
  const TRect tab = pages.TabRect(index);
  test::ClickAt(pages, (tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2);
}

class PageControlTest : public ::testing::Test {
 protected:
  PageControlTest() {
    form->SetBounds(0, 0, 400, 300);
    pages = new TPageControl(form.get());
    pages->SetParent(form.get());
    pages->SetBounds(0, 0, 300, 200);
    pages->OnChanging = MakeMethod<&Recorder::Changing>(&recorder);
    pages->OnChange = MakeMethod<&Recorder::Changed>(&recorder);
    for (const char* name : {"One", "Two", "Three"}) {
      auto* sheet = new TTabSheet(form.get());
      sheet->SetName(name);
      sheet->SetCaption(name);
      sheet->SetPageControl(pages);
      sheet->OnShow = MakeMethod<&Recorder::Shown>(&recorder);
      sheet->OnHide = MakeMethod<&Recorder::Hidden>(&recorder);
      auto* box = new TWinControl(form.get());
      box->SetName(std::string("box") + name);
      box->SetParent(sheet);
      box->SetTabStop(true);
      sheets.push_back(sheet);
      boxes.push_back(box);
    }
  }

  Recorder recorder;  // outlives the form, whose handlers point to it
  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TPageControl* pages = nullptr;
  std::vector<TTabSheet*> sheets;
  std::vector<TWinControl*> boxes;
};

TEST_F(PageControlTest, OnlyTheActivePageIsVisibleAndCodeFiresNoEvents) {
  EXPECT_EQ(pages->PageCount(), 3);
  EXPECT_EQ(pages->ActivePage(), sheets[0]);  // the first tab of an empty strip is selected
  pages->SetActivePage(sheets[2]);
  EXPECT_EQ(pages->ActivePageIndex(), 2);
  EXPECT_EQ(pages->TabIndex(), 2);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(sheets[static_cast<std::size_t>(i)]->Visible(), i == 2) << i;
  EXPECT_EQ(recorder.log, "");
  EXPECT_EQ(sheets[2]->BoundsRect(), pages->DisplayRect());
  EXPECT_EQ(pages->DisplayRect(), (TRect{4, 24, 296, 196}));

  // A sheet of another page control, or an index outside the pages, changes nothing.
  TPageControl other(nullptr);
  TTabSheet stranger(nullptr);
  stranger.SetPageControl(&other);
  pages->SetActivePage(&stranger);
  EXPECT_EQ(pages->ActivePage(), sheets[2]);
  EXPECT_THROW(pages->Pages(3), EListError);

  sheets[2]->SetPageIndex(0);
  EXPECT_EQ(pages->Pages(0), sheets[2]);
  EXPECT_EQ(sheets[0]->PageIndex(), 1);
  EXPECT_EQ(pages->TabIndex(), 0);
}

TEST_F(PageControlTest, TabPositionsCountOnlyVisibleTabs) {
  sheets[1]->SetTabVisible(false);
  EXPECT_EQ(pages->TabCount(), 2);
  EXPECT_EQ(sheets[1]->TabIndex(), -1);
  EXPECT_EQ(sheets[2]->TabIndex(), 1);
  EXPECT_EQ(pages->PageForTab(1), sheets[2]);
  EXPECT_EQ(pages->TabCaption(1), "Three");
  EXPECT_EQ(pages->PageForTab(2), nullptr);

  // Hiding the active page's tab selects the tab that takes its place, else the last.
  struct Case {
    int active;
    int hidden;
    int expected;
  };
  for (const Case& c : std::vector<Case>{{0, 0, 2}, {2, 2, 0}}) {
    SCOPED_TRACE(c.hidden);
    for (TTabSheet* sheet : sheets)
      sheet->SetTabVisible(sheet != sheets[1]);
    pages->SetActivePage(sheets[static_cast<std::size_t>(c.active)]);
    sheets[static_cast<std::size_t>(c.hidden)]->SetTabVisible(false);
    EXPECT_EQ(pages->ActivePage(), sheets[static_cast<std::size_t>(c.expected)]);
  }
}

TEST_F(PageControlTest, ClickingATabAsksOnChangingThenFiresOnChange) {
  form->Show();
  recorder.log.clear();
  sheets[1]->SetTabVisible(false);
  ClickTab(*pages, 1);  // the second visible tab is "Three"
  EXPECT_EQ(pages->ActivePage(), sheets[2]);
  EXPECT_EQ(recorder.log, "changing show:Three hide:One change ");
  EXPECT_TRUE(pages->Focused());

  recorder.log.clear();
  ClickTab(*pages, 1);                           // the active tab
  test::ClickAt(*pages, pages->Width() - 2, 5);  // beside the tabs
  EXPECT_EQ(recorder.log, "");

  recorder.allow = false;
  ClickTab(*pages, 0);
  EXPECT_EQ(recorder.log, "changing ");
  EXPECT_EQ(pages->ActivePage(), sheets[2]);

  // With the focus on the tabs, the arrows move from tab to tab.
  recorder.allow = true;
  recorder.log.clear();
  test::Press(VK_LEFT);
  test::Press(VK_LEFT);
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
  EXPECT_EQ(recorder.log, "changing show:One hide:Three change ");
}

TEST_F(PageControlTest, CtrlTabInsideTheControlMovesThroughVisibleTabsAndTheFocusFollows) {
  auto* outside = new TWinControl(form.get());
  outside->SetParent(form.get());
  outside->SetBounds(0, 250, 50, 20);
  outside->SetTabStop(true);
  sheets[1]->SetTabVisible(false);
  form->Show();
  boxes[0]->SetFocus();
  recorder.log.clear();

  struct Step {
    TShiftState shift;
    TTabSheet* page;
  };
  for (const Step& step :
       std::vector<Step>{{ssCtrl, sheets[2]}, {ssCtrl, sheets[0]}, {ssCtrl | ssShift, sheets[2]}}) {
    test::Press(VK_TAB, step.shift);
    EXPECT_EQ(pages->ActivePage(), step.page);
    // The focus left the old page and went to the first control of the new one.
    EXPECT_EQ(form->ActiveControl(), boxes[static_cast<std::size_t>(step.page->PageIndex())]);
  }
  EXPECT_EQ(recorder.log,
            "changing show:Three hide:One change changing show:One hide:Three change "
            "changing show:Three hide:One change ");

  // Outside the control Ctrl+Tab is no page key.
  outside->SetFocus();
  recorder.log.clear();
  test::Press(VK_TAB, ssCtrl);
  EXPECT_EQ(recorder.log, "");
}

TEST_F(PageControlTest, AnOnExitThatKeepsTheFocusKeepsThePage) {
  struct Stubborn {
    TWinControl* box;
    void Exit(TObject*) { box->SetFocus(); }
  } stubborn{boxes[0]};
  boxes[0]->OnExit = MakeMethod<&Stubborn::Exit>(&stubborn);
  form->Show();
  boxes[0]->SetFocus();
  pages->SelectNextPage(true);
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
  EXPECT_EQ(form->ActiveControl(), boxes[0]);
}

TEST_F(PageControlTest, RemovingPagesKeepsAPageActive) {
  pages->SetActivePage(sheets[1]);
  sheets[1]->Free();
  EXPECT_EQ(pages->ActivePage(), sheets[2]);
  EXPECT_TRUE(sheets[2]->Visible());
  sheets[2]->SetPageControl(nullptr);
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
  EXPECT_EQ(pages->PageCount(), 1);
  // The page control may go before its pages.
  pages->Free();
  EXPECT_EQ(sheets[0]->PageControl(), nullptr);
  EXPECT_EQ(sheets[0]->PageIndex(), -1);
}

// Draws each tab's page caption, as owner-drawn page controls do.
class TCaptionTabs : public TPageControl {
 public:
  using TPageControl::TPageControl;
  void DrawTab(int tabIndex, const TRect& rect, bool active) override {
    Canvas().TextOut(rect.Left, rect.Top, (active ? "*" : "") + PageForTab(tabIndex)->Caption());
  }
};

TEST(PageControlDrawing, OwnerDrawnTabsArePaintedOneByOneWithTheirPagesCaptions) {
  TCaptionTabs tabs(nullptr);
  std::vector<Owned<TTabSheet>> sheets;
  for (const char* caption : {"A", "B", "C"}) {
    sheets.emplace_back(new TTabSheet(nullptr));
    sheets.back()->SetCaption(caption);
    sheets.back()->SetPageControl(&tabs);
  }
  sheets[1]->SetTabVisible(false);
  tabs.SetTabWidth(60);
  tabs.SetTabHeight(20);
  tabs.SetActivePage(sheets[2].get());

  TCanvas canvas;
  tabs.Paint(canvas);
  EXPECT_TRUE(canvas.Operations().empty());  // not owner-drawn: the platform paints

  tabs.SetOwnerDraw(true);
  tabs.Paint(canvas);
  ASSERT_EQ(canvas.Operations().size(), 2u);
  EXPECT_EQ(canvas.Operations()[0].text, "A");
  EXPECT_EQ(canvas.Operations()[1].text, "*C");  // the third page on the second tab
  EXPECT_EQ(canvas.Operations()[1].point, (TPoint{62, 2}));
  EXPECT_EQ(tabs.TabRect(1), (TRect{62, 2, 122, 22}));

  // OnDrawTab of a plain page control gets the same tab, rectangle and active flag.
  struct Drawer {
    std::string log;
    void Draw(TCustomTabControl* control, int tab, const TRect& rect, bool active) {
      control->Canvas().FillRect(rect);
      log += std::to_string(tab) + (active ? "a " : " ");
    }
  } drawer;
  TPageControl plain(nullptr);
  sheets[0]->SetPageControl(&plain);
  sheets[2]->SetPageControl(&plain);
  plain.SetOwnerDraw(true);
  plain.OnDrawTab = MakeMethod<&Drawer::Draw>(&drawer);
  TCanvas other;
  plain.Paint(other);
  EXPECT_EQ(drawer.log, "0a 1 ");
  ASSERT_EQ(other.Operations().size(), 2u);
  EXPECT_EQ(other.Operations()[1].rect, plain.TabRect(1));
}

TEST(PageControlGeometry, MultiLineTabsWrapIntoRows) {
  TPageControl pages(nullptr);
  std::vector<Owned<TTabSheet>> sheets;
  for (int i = 0; i < 5; ++i) {
    sheets.emplace_back(new TTabSheet(nullptr));
    sheets.back()->SetPageControl(&pages);
  }
  pages.SetBounds(0, 0, 204, 100);
  pages.SetTabWidth(50);
  pages.SetTabHeight(20);
  EXPECT_EQ(pages.TabRect(4), (TRect{202, 2, 252, 22}));  // one row, past the edge
  pages.SetMultiLine(true);
  EXPECT_EQ(pages.TabRect(4), (TRect{2, 22, 52, 42}));
  EXPECT_EQ(pages.DisplayRect().Top, 46);
  EXPECT_EQ(pages.IndexOfTabAt(60, 30), -1);
  EXPECT_EQ(pages.IndexOfTabAt(60, 10), 1);
  EXPECT_EQ(pages.TabRect(5), (TRect{}));
}

TEST(PageControlResource, SheetsWrittenInsideBecomePagesAndTabIndexSelectsOnceRead) {
  Owned<TForm> form(CreateForm<TForm>(nullptr));
  ReadComponentResource(*form, R"(
object Form1: TForm
  object pgOption: TPageControl
    Width = 300
    Height = 200
    TabIndex = 1
    object tsOption1: TTabSheet
      Caption = 'Basic'
    end
    object tsHidden: TTabSheet
      Caption = 'Hidden'
      TabVisible = False
    end
    object tsOption2: TTabSheet
      Caption = 'System'
      ImageIndex = 2
    end
  end
end)");
  auto* pages = dynamic_cast<TPageControl*>(form->FindComponent("pgOption"));
  ASSERT_NE(pages, nullptr);
  EXPECT_EQ(pages->PageCount(), 3);
  EXPECT_EQ(pages->ActivePage(), form->FindComponent("tsOption2"));
  EXPECT_EQ(pages->Pages(2)->ImageIndex(), 2);
  EXPECT_TRUE(pages->Pages(2)->Visible());
  EXPECT_FALSE(pages->Pages(0)->Visible());
}

}  // namespace
}  // namespace ox
