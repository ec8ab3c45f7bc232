// Image lists: pictures of one size, each with a mask, drawn by index (tool buttons,
// tabs, menu items and list views show them). A masked list draws only the pixels its
// mask marks opaque, as the platform's image lists do: the mask is and-ed into the
// destination and the picture, black where it is transparent, or-ed over it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/Bitmap.h"
#include "ui/Classes.h"

namespace ox {

class TCustomImageList : public TComponent {
 public:
  OX_CLASS_INFO()
  explicit TCustomImageList(TComponent* owner);
  ~TCustomImageList() override;

  // Changing the size of the pictures or the mask setting empties the list.
  int Width() const { return width_; }
  void SetWidth(int width);
  int Height() const { return height_; }
  void SetHeight(int height);
  // Whether the pictures are drawn through their masks.
  bool Masked() const { return masked_; }
  void SetMasked(bool value);
  int Count() const { return static_cast<int>(images_.size()); }

  // Adds the pictures of `image`, cut into cells of Width side by side (a narrower
  // image is one picture), with the matching cells of `mask` (white: transparent;
  // none: every pixel opaque). Answers the index of the first picture added, or -1 for
  // an empty image.
  int Add(const TBitmap& image, const TBitmap* mask);
  // The same with the mask taken from the pixels of `maskColor`.
  int AddMasked(const TBitmap& image, TColor maskColor);
  // Removes one picture; an index outside the list is ignored.
  void Delete(int index);
  void Clear();
  // Draws picture `index` with its top left at (x, y); an index outside the list
  // draws nothing.
  void Draw(TCanvas& canvas, int x, int y, int index) const;
  // Sizes `bitmap` to one picture and draws picture `index` on it; false (and the
  // bitmap unchanged) for an index outside the list.
  bool GetBitmap(int index, TBitmap& bitmap) const;

  // The pictures for form resources: the bytes of a .bmp holding the pictures side by
  // side, with their masks in a second row below; empty when the list is empty.
  std::string BitmapBytes() const;
  // Replaces the pictures from such bytes; raises EInvalidGraphic when they are no
  // bitmap, leaving the list unchanged.
  void SetBitmapBytes(const std::string& bytes);

  TNotifyEvent OnChange;

 private:
  struct Picture {
    std::unique_ptr<TBitmap> image;
    std::unique_ptr<TBitmap> mask;  // white where transparent
  };
  Picture Cut(const TBitmap& image, const TBitmap* mask, int cell) const;
  void Reset(int width, int height, bool masked);
  void Changed();

  int width_ = 16;
  int height_ = 16;
  bool masked_ = true;
  std::vector<Picture> images_;
};

class TImageList : public TCustomImageList {
 public:
  OX_CLASS_INFO()
  using TCustomImageList::TCustomImageList;
};

}  // namespace ox
