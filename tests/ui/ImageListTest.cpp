#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ui/Bitmap.h"
#include "ui/ImageList.h"

namespace ox {
namespace {

// A strip of `count` 4 × 4 pictures: picture i is filled with colours[i], with a
// magenta corner pixel at its top left.
std::unique_ptr<TBitmap> Strip(const std::vector<TColor>& colours) {
  auto strip = std::make_unique<TBitmap>();
  strip->SetSize(4 * static_cast<int>(colours.size()), 4);
  for (int i = 0; i < static_cast<int>(colours.size()); ++i)
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x)
        strip->SetPixel(4 * i + x, y,
                        x == 0 && y == 0 ? clFuchsia : colours[static_cast<std::size_t>(i)]);
  return strip;
}

class ImageListTest : public ::testing::Test {
 protected:
  ImageListTest() {
    images.SetWidth(4);
    images.SetHeight(4);
    target.SetSize(10, 10);
    target.Canvas().Brush().SetColor(clGray);
    target.Canvas().FillRect({0, 0, 10, 10});
  }
  TImageList images{nullptr};
  TBitmap target;
};

TEST_F(ImageListTest, AStripIsCutIntoPicturesDrawnThroughTheirMasks) {
  EXPECT_EQ(images.AddMasked(*Strip({clRed, clBlue}), clFuchsia), 0);
  EXPECT_EQ(images.Add(*Strip({clLime}), nullptr), 2);
  EXPECT_EQ(images.Count(), 3);

  images.Draw(target.Canvas(), 2, 3, 1);
  EXPECT_EQ(target.Pixel(3, 4), clBlue);
  EXPECT_EQ(target.Pixel(2, 3), clGray);  // the mask colour lets the background show
  EXPECT_EQ(target.Pixel(6, 3), clGray);  // outside the picture
  images.Draw(target.Canvas(), 0, 0, 2);
  EXPECT_EQ(target.Pixel(0, 0), clFuchsia);  // added without a mask: every pixel opaque
  images.Draw(target.Canvas(), 5, 5, 3);     // no such picture
  EXPECT_EQ(target.Pixel(6, 6), clGray);
  EXPECT_EQ(target.Canvas().CopyMode(), SRCCOPY);

  TBitmap picture;
  EXPECT_TRUE(images.GetBitmap(0, picture));
  EXPECT_EQ(picture.Width(), 4);
  EXPECT_EQ(picture.Pixel(1, 1), clRed);
  EXPECT_FALSE(images.GetBitmap(-1, picture));

  // An unmasked list draws every pixel; changing the setting empties the list.
  images.SetMasked(false);
  EXPECT_EQ(images.Count(), 0);
  images.AddMasked(*Strip({clRed}), clFuchsia);
  images.Draw(target.Canvas(), 0, 0, 0);
  EXPECT_EQ(target.Pixel(0, 0), clFuchsia);
}

TEST_F(ImageListTest, AnExplicitMaskMarksTheTransparentPixels) {
  TBitmap mask;
  mask.SetSize(4, 4);
  mask.Canvas().Brush().SetColor(clBlack);
  mask.Canvas().FillRect({0, 0, 4, 4});
  mask.SetPixel(3, 3, clWhite);
  images.Add(*Strip({clRed}), &mask);
  images.Draw(target.Canvas(), 0, 0, 0);
  EXPECT_EQ(target.Pixel(0, 0), clFuchsia);
  EXPECT_EQ(target.Pixel(3, 3), clGray);
  EXPECT_EQ(images.Add(TBitmap(), nullptr), -1);
}

TEST_F(ImageListTest, PicturesSurviveTheirResourceBytesAndSizeChangesEmptyTheList) {
  images.AddMasked(*Strip({clRed, clBlue}), clFuchsia);
  TImageList copy(nullptr);
  copy.SetWidth(4);
  copy.SetHeight(4);
  copy.SetBitmapBytes(images.BitmapBytes());
  ASSERT_EQ(copy.Count(), 2);
  copy.Draw(target.Canvas(), 0, 0, 1);
  EXPECT_EQ(target.Pixel(1, 1), clBlue);
  EXPECT_EQ(target.Pixel(0, 0), clGray);  // the mask came along
  EXPECT_THROW(copy.SetBitmapBytes("not a bitmap"), EInvalidGraphic);
  EXPECT_EQ(copy.Count(), 2);

  int changes = 0;
  struct Counter {
    int* changes;
    void Changed(TObject*) { ++*changes; }
  } counter{&changes};
  copy.OnChange = MakeMethod<&Counter::Changed>(&counter);
  copy.SetHeight(8);
  EXPECT_EQ(copy.Count(), 0);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(copy.BitmapBytes(), "");
}

}  // namespace
}  // namespace ox
