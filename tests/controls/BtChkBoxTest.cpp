#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "controls/BtChkBox.h"
#include "tests/ui/ControlInput.h"
#include "ui/Canvas.h"
#include "ui/Forms.h"

namespace ox {
namespace {

using test::ClickAt;
using test::Press;

class BitCheckBoxTest : public ::testing::Test {
 protected:
  BitCheckBoxTest() {
    form->SetBounds(0, 0, 300, 200);
    other = new TWinControl(form.get());  // takes the focus first
    other->SetParent(form.get());
    other->SetTabStop(true);
    box = new TBitCheckBox(form.get());
    box->SetName("cbPrint");
    box->SetParent(form.get());
    box->SetBounds(10, 40, 97, 17);
    box->SetCaption("&Print");
    box->OnClick = MakeMethod<&test::Recorder::Clicked>(&recorder);
  }

  std::vector<TCanvasOp> Painted() {
    TCanvas canvas;
    box->Paint(canvas);
    return canvas.Operations();
  }

  test::Recorder recorder;
  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TWinControl* other = nullptr;
  TBitCheckBox* box = nullptr;
};

// A bitmap of the given size, filled with one colour.
void Fill(TBitmap& bitmap, int width, int height, TColor color) {
  bitmap.SetSize(width, height);
  bitmap.Canvas().Brush().SetColor(color);
  bitmap.Canvas().FillRect({0, 0, width, height});
}

TEST(BitCheckBox, StartsUncheckedWithItsOwnBoxesAndClassDefaults) {
  Owned<TBitCheckBox> box{new TBitCheckBox(nullptr)};
  EXPECT_EQ(box->BoundsRect(), (TRect{0, 0, 97, 17}));
  EXPECT_TRUE(box->TabStop());
  EXPECT_EQ(box->State(), TCheckBoxState::cbUnchecked);
  EXPECT_FALSE(box->AllowGrayed());
  EXPECT_EQ(box->Alignment(), TAlignment::taRightJustify);
  EXPECT_TRUE(box->Ctl3D());
  EXPECT_TRUE(box->ParentCtl3D());
  struct Case {
    const char* name;
    TBitmap* glyph;
    int count;
    TColor tick;  // a pixel inside the tick
  };
  for (const Case& c :
       std::vector<Case>{{"checked", box->CheckedGlyph(), box->CheckedNumGlyphs(), clBlack},
                         {"unchecked", box->UncheckedGlyph(), box->UncheckedNumGlyphs(), clWhite},
                         {"grayed", box->GrayedGlyph(), box->GrayedNumGlyphs(), clGray}}) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.glyph->Width(), 13);
    EXPECT_EQ(c.glyph->Height(), 13);
    EXPECT_EQ(c.count, 1);
    EXPECT_EQ(c.glyph->Pixel(6, 8), c.tick);
    EXPECT_EQ(c.glyph->Pixel(0, 12), clGray);  // the frame
  }
  const ClassInfo& info = TBitCheckBox::StaticClassInfo();
  for (const char* name : {"Alignment",
                           "AllowGrayed",
                           "Caption",
                           "Checked",
                           "State",
                           "CheckedGlyph",
                           "UncheckedGlyph",
                           "GrayedGlyph",
                           "CheckedNumGlyphs",
                           "UncheckedNumGlyphs",
                           "GrayedNumGlyphs",
                           "TabStop",
                           "Ctl3D",
                           "ParentCtl3D",
                           "Color",
                           "Font",
                           "PopupMenu",
                           "OnClick",
                           "OnEnter",
                           "OnKeyDown",
                           "OnMouseDown"})
    EXPECT_NE(info.FindProperty(name), nullptr) << name;
}

TEST_F(BitCheckBoxTest, ClicksCycleThroughTheStatesAndReportEachOne) {
  struct Case {
    bool allowGrayed;
    std::vector<TCheckBoxState> states;
  };
  using S = TCheckBoxState;
  form->Show();
  for (const Case& c : std::vector<Case>{{true, {S::cbGrayed, S::cbChecked, S::cbUnchecked}},
                                         {false, {S::cbChecked, S::cbUnchecked, S::cbChecked}}}) {
    SCOPED_TRACE(c.allowGrayed);
    box->SetState(S::cbUnchecked);
    box->SetAllowGrayed(c.allowGrayed);
    for (S expected : c.states) {
      ClickAt(*box, 5, 5);
      EXPECT_EQ(box->State(), expected);
      EXPECT_EQ(recorder.Take(), "click:cbPrint ");
    }
  }
  EXPECT_EQ(form->ActiveControl(), box);  // the click focuses the box
}

TEST_F(BitCheckBoxTest, CodeChangesAreSilentAndCheckedFollowsTheState) {
  box->SetChecked(true);
  EXPECT_EQ(box->State(), TCheckBoxState::cbChecked);
  box->SetState(TCheckBoxState::cbGrayed);
  EXPECT_FALSE(box->Checked());
  box->Toggle();
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(recorder.Take(), "");
}

TEST_F(BitCheckBoxTest, SpaceClicksButTheAcceleratorFocusesAndTogglesSilently) {
  form->Show();
  ASSERT_EQ(form->ActiveControl(), other);
  test::PressAlt(*other, 'p');
  EXPECT_EQ(form->ActiveControl(), box);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(recorder.Take(), "");
  Press(*box, VK_SPACE);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(recorder.Take(), "click:cbPrint ");
}

TEST_F(BitCheckBoxTest, AGlyphWhoseWidthIsAMultipleOfItsHeightSetsTheCount) {
  struct Case {
    int width;
    int countBefore;
    int countAfter;
  };
  TBitmap bitmap;
  for (const Case& c :
       std::vector<Case>{{26, 1, 2}, {30, 1, 1}, {30, 2, 2}, {13, 2, 1}, {39, 1, 2}, {0, 2, 1}}) {
    SCOPED_TRACE(c.width);
    Fill(bitmap, c.width, 13, clRed);
    box->SetGrayedNumGlyphs(c.countBefore);
    box->SetGrayedGlyph(&bitmap);
    EXPECT_EQ(box->GrayedNumGlyphs(), c.countAfter);
    EXPECT_EQ(box->GrayedGlyph()->Width(), c.width);
  }
  box->SetCheckedNumGlyphs(5);  // the count stays within 1 to 2
  EXPECT_EQ(box->CheckedNumGlyphs(), 2);
  box->SetCheckedGlyph(nullptr);  // back to the built-in box
  EXPECT_EQ(box->CheckedNumGlyphs(), 1);
  EXPECT_EQ(box->CheckedGlyph()->Pixel(6, 8), clBlack);
}

TEST_F(BitCheckBoxTest, PaintsBackgroundCaptionFocusAndGlyphBySide) {
  box->SetColor(clYellow);
  box->SetChecked(true);
  TCanvas probe;
  probe.Font().Assign(*box->Font());
  const int textHeight = FontTextHeight(*box->Font());
  const int top = std::max((17 - textHeight) / 2 - 2, 0);
  const int bottom = std::min(top + textHeight + 3, 17);
  const int textWidth = probe.TextWidth("Print");  // the "&" takes no room
  struct Case {
    TAlignment alignment;
    int textLeft;
    int glyphLeft;
  };
  form->Show();
  box->SetFocus();
  for (const Case& c : std::vector<Case>{{TAlignment::taRightJustify, 17, 0},
                                         {TAlignment::taLeftJustify, 1, 97 - 13}}) {
    SCOPED_TRACE(static_cast<int>(c.alignment));
    box->SetAlignment(c.alignment);
    const std::vector<TCanvasOp> ops = Painted();
    ASSERT_EQ(ops.size(), 4u);
    EXPECT_EQ(ops[0].kind, TCanvasOpKind::FillRect);
    EXPECT_EQ(ops[0].rect, (TRect{0, 0, 97, 17}));
    EXPECT_EQ(ops[0].brush.Color(), clYellow);
    const TRect text{c.textLeft, top, c.textLeft + textWidth, bottom};
    EXPECT_EQ(ops[1].kind, TCanvasOpKind::TextRect);
    EXPECT_EQ(ops[1].rect, text);
    EXPECT_EQ(ops[1].text, "&Print");
    EXPECT_EQ(ops[1].font->Color(), box->Font()->Color());
    EXPECT_EQ(ops[2].kind, TCanvasOpKind::DrawFocusRect);
    EXPECT_EQ(ops[2].rect, (TRect{std::max(text.Left - 1, 0), std::max(top - 1, 0), text.Right + 1,
                                  std::min(bottom + 1, 17)}));
    EXPECT_EQ(ops[3].kind, TCanvasOpKind::Draw);
    EXPECT_EQ(ops[3].point, (TPoint{c.glyphLeft, 2}));
    EXPECT_TRUE(ops[3].transparent);
    EXPECT_EQ(ops[3].transparentColor, clFuchsia);
    EXPECT_EQ(ops[3].image->At(6, 8), static_cast<std::uint32_t>(clBlack));
  }
}

TEST_F(BitCheckBoxTest, DisabledPaintsEmbossedGreyTextAndTheSecondCell) {
  TBitmap bitmap;
  Fill(bitmap, 26, 13, clRed);
  bitmap.SetPixel(13, 0, clBlue);  // marks the disabled cell
  box->SetUncheckedGlyph(&bitmap);
  box->SetEnabled(false);
  for (bool ctl3D : {true, false}) {
    SCOPED_TRACE(ctl3D);
    box->SetCtl3D(ctl3D);
    const std::vector<TCanvasOp> ops = Painted();
    std::vector<TColor> textColours;
    std::vector<int> textLefts;
    for (const TCanvasOp& op : ops)
      if (op.kind == TCanvasOpKind::TextRect) {
        textColours.push_back(op.font->Color());
        textLefts.push_back(op.rect.Left);
      }
    const std::vector<TColor> colours =
        ctl3D ? std::vector<TColor>{clBtnHighlight, clGrayText} : std::vector<TColor>{clGrayText};
    const std::vector<int> lefts = ctl3D ? std::vector<int>{18, 17} : std::vector<int>{17};
    EXPECT_EQ(textColours, colours);
    EXPECT_EQ(textLefts, lefts);
    ASSERT_EQ(ops.back().kind, TCanvasOpKind::Draw);
    EXPECT_EQ(ops.back().rect.Width(), 13);
    EXPECT_EQ(ops.back().image->At(0, 0), static_cast<std::uint32_t>(clBlue));
  }
}

}  // namespace
}  // namespace ox
