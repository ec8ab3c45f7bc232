#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "outside/bitmaps/OxBitmaps.h"
#include "platform/Library.h"

namespace ox {
namespace {

constexpr TColor kBackground = 0x00FF00FF;

// The library as the glyph buttons open it: by its Windows name.
class OxBitmapsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(module, nullptr) << LastLibraryError();
    maxId = reinterpret_cast<GetMaxBmpIDProc>(GetProcAddress(module, "GetMaxBmpID"));
    load = reinterpret_cast<LoadBmpProc>(GetProcAddress(module, "LoadBmp"));
    ASSERT_NE(maxId, nullptr);
    ASSERT_NE(load, nullptr);
  }
  void TearDown() override { EXPECT_TRUE(FreeLibrary(module)); }

  HMODULE module = LoadLibrary(kBitmapLibraryName);
  GetMaxBmpIDProc maxId = nullptr;
  LoadBmpProc load = nullptr;
};

// The non-background pixels of one 16 x 16 cell, as positions.
std::set<int> Drawn(const TBitmap& bitmap, int cell) {
  std::set<int> drawn;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if (bitmap.Pixel(cell * 16 + x, y) != kBackground) drawn.insert(y * 16 + x);
  return drawn;
}

TEST_F(OxBitmapsTest, EveryGlyphTheButtonsAskForIsADistinctPictureInSixteenPixelCells) {
  struct Case {
    int id;
    int cells;
  };
  const std::vector<Case> cases{{4, 2}, {8, 1}, {9, 1}, {39, 1}, {47, 1}, {85, 1}};
  std::set<std::set<int>> pictures;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_LE(c.id, maxId());
    TBitmap bitmap;
    ASSERT_TRUE(LoadBmpInto(load, c.id, bitmap));
    EXPECT_EQ(bitmap.Height(), 16);
    EXPECT_EQ(bitmap.Width(), 16 * c.cells);
    // The bottom-left pixel is the background, so a transparent glyph leaves it out.
    EXPECT_EQ(bitmap.TransparentColor(), kBackground);
    const std::set<int> drawn = Drawn(bitmap, 0);
    EXPECT_GT(drawn.size(), 8u);
    EXPECT_LT(drawn.size(), 256u);
    EXPECT_TRUE(pictures.insert(drawn).second) << "same picture as another glyph";
    if (c.cells == 2) {
      EXPECT_EQ(Drawn(bitmap, 1), drawn);  // the disabled image: the same shape
    }
  }
}

TEST_F(OxBitmapsTest, NumbersWithoutGlyphLeaveTheBitmapAsItWas) {
  for (int id : {0, -1, 5, maxId() + 1}) {
    SCOPED_TRACE(id);
    TBitmap bitmap;
    bitmap.SetSize(3, 2);
    EXPECT_FALSE(LoadBmpInto(load, id, bitmap));
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.Height(), 2);
  }
  EXPECT_FALSE(load(47, nullptr));
  // Without room for the pixels only the size comes back.
  OxBmpPixels size{0, 0, nullptr, 0};
  EXPECT_TRUE(load(4, &size));
  EXPECT_EQ(size.width, 32);
  EXPECT_EQ(size.height, 16);
}

}  // namespace
}  // namespace ox
