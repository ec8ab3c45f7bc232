#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/ControlInput.h"
#include "ui/Forms.h"
#include "ui/Panel.h"
#include "ui/Splitter.h"

namespace ox {
namespace {

// A 400 x 300 form with a 100-pixel panel aligned to one side, a splitter beside it
// and a client panel filling the rest.
class SplitterTest : public ::testing::Test {
 protected:
  void Build(TAlign align) {
    form->SetBounds(0, 0, 400, 300);
    side = new TPanel(form.get());
    side->SetName("side");
    side->SetBounds(0, 0, 100, 100);
    side->SetAlign(align);
    side->SetParent(form.get());
    splitter = new TSplitter(form.get());
    splitter->SetName("splitter");
    splitter->SetAlign(align);
    if (align == TAlign::alTop || align == TAlign::alBottom) splitter->SetHeight(3);
    splitter->SetParent(form.get());
    splitter->OnMoved = MakeMethod<&test::Recorder::Moved>(&recorder);
    auto* rest = new TPanel(form.get());
    rest->SetAlign(TAlign::alClient);
    rest->SetParent(form.get());
  }

  int SideSize() const {
    const TAlign align = side->Align();
    return align == TAlign::alLeft || align == TAlign::alRight ? side->Width() : side->Height();
  }

  // Drags the splitter by (dx, dy) from its middle, with a stop halfway; the mouse
  // points are given to the splitter where it is at that moment.
  void Drag(int dx, int dy) {
    const int x = splitter->Left() + splitter->Width() / 2;
    const int y = splitter->Top() + splitter->Height() / 2;
    splitter->MouseDown(TMouseButton::mbLeft, ssLeft, x - splitter->Left(), y - splitter->Top());
    splitter->MouseMove(ssLeft, x + dx / 2 - splitter->Left(), y + dy / 2 - splitter->Top());
    halfway = SideSize();
    splitter->MouseMove(ssLeft, x + dx - splitter->Left(), y + dy - splitter->Top());
    splitter->MouseUp(TMouseButton::mbLeft, 0, x + dx - splitter->Left(), y + dy - splitter->Top());
  }

  test::Recorder recorder;
  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TPanel* side = nullptr;
  TSplitter* splitter = nullptr;
  int halfway = 0;
};

TEST_F(SplitterTest, DraggingResizesTheNeighbourWithinTheLimits) {
  struct Case {
    const char* name;
    TAlign align;
    int dx, dy;
    bool autoSnap;
    int size;
  };
  // Room: 400 (or 300) less MinSize 30, the splitter's 3 and the side's 100, plus 100.
  const std::vector<Case> cases{
      {"left, wider", TAlign::alLeft, 50, 0, true, 150},
      {"left, past the room", TAlign::alLeft, 500, 0, true, 400 - 30 - 3},
      {"left, below MinSize snaps shut", TAlign::alLeft, -90, 0, true, 0},
      {"left, below MinSize", TAlign::alLeft, -90, 0, false, 30},
      {"right, dragged left", TAlign::alRight, -40, 0, true, 140},
      {"top, taller", TAlign::alTop, 0, 25, true, 125},
      {"bottom, dragged down", TAlign::alBottom, 0, 30, true, 70},
      {"bottom, past the room", TAlign::alBottom, 0, -500, true, 300 - 30 - 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form.reset(CreateForm<TForm>(nullptr));
    Build(c.align);
    splitter->SetAutoSnap(c.autoSnap);
    Drag(c.dx, c.dy);
    EXPECT_EQ(halfway, 100);  // rsPattern resizes on release
    EXPECT_EQ(SideSize(), c.size);
    EXPECT_EQ(recorder.Take(), "moved:splitter ");
  }
}

TEST_F(SplitterTest, UpdateStyleResizesWhileDraggingAndTheSplitterFollows) {
  Build(TAlign::alLeft);
  splitter->SetResizeStyle(TResizeStyle::rsUpdate);
  Drag(60, 0);
  EXPECT_EQ(halfway, 130);
  EXPECT_EQ(side->Width(), 160);
  EXPECT_EQ(splitter->Left(), 160);
  EXPECT_EQ(recorder.Take(), "moved:splitter moved:splitter ");
}

TEST_F(SplitterTest, WithoutANeighbourOrAMoveNothingHappens) {
  Build(TAlign::alLeft);
  Drag(0, 0);
  EXPECT_EQ(recorder.Take(), "");
  side->Hide();  // the splitter now touches the form's edge
  Drag(50, 0);
  EXPECT_EQ(side->Width(), 100);
  EXPECT_EQ(recorder.Take(), "");
}

}  // namespace
}  // namespace ox
