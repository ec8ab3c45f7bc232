#include "ui/ImageList.h"

#include <algorithm>

namespace ox {

namespace {

constexpr TColor kTransparent = clWhite;  // mask pixels that let the destination show
constexpr TColor kOpaque = clBlack;

// The part of `source` at (left, top) of the given size; pixels outside it are `fill`.
std::unique_ptr<TBitmap> Crop(const TBitmap& source, int left, int top, int width, int height,
                              TColor fill) {
  auto result = std::make_unique<TBitmap>();
  result->SetSize(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const TColor pixel = source.Pixel(left + x, top + y);
      result->SetPixel(x, y, pixel < 0 ? fill : pixel);
    }
  return result;
}

bool IsWhite(TColor pixel) {
  return NearestMonochrome(static_cast<std::uint32_t>(pixel)) == 0xFFFFFF;
}

// Copies `part` into `target` at (left, top).
void Paste(TBitmap& target, const TBitmap& part, int left, int top) {
  for (int y = 0; y < part.Height(); ++y)
    for (int x = 0; x < part.Width(); ++x)
      target.SetPixel(left + x, top + y, part.Pixel(x, y));
}

}  // namespace

const ClassInfo& TCustomImageList::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TCustomImageList>("TCustomImageList", &TComponent::StaticClassInfo())
          .property("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth)
          .defaultValue(16)
          .property("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight)
          .defaultValue(16)
          .property("Masked", &TCustomImageList::Masked, &TCustomImageList::SetMasked)
          .defaultValue(1)
          .property("Bitmap", &TCustomImageList::BitmapBytes, &TCustomImageList::SetBitmapBytes)
          .event("OnChange", &TCustomImageList::OnChange)
          .build();
  return info;
}

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}
TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::SetWidth(int width) {
  Reset(width, height_, masked_);
}
void TCustomImageList::SetHeight(int height) {
  Reset(width_, height, masked_);
}
void TCustomImageList::SetMasked(bool value) {
  Reset(width_, height_, value);
}

void TCustomImageList::Reset(int width, int height, bool masked) {
  width = std::clamp(width, 1, TBitmap::kMaxSide);
  height = std::clamp(height, 1, TBitmap::kMaxSide);
  if (width == width_ && height == height_ && masked == masked_) return;
  width_ = width;
  height_ = height;
  masked_ = masked;
  Clear();
}

TCustomImageList::Picture TCustomImageList::Cut(const TBitmap& image, const TBitmap* mask,
                                                int cell) const {
  const int left = cell * width_;
  Picture picture{Crop(image, left, 0, width_, height_, kOpaque), nullptr};
  if (!masked_) return picture;
  // Outside the given pixels the picture is transparent.
  picture.mask = Crop(mask != nullptr ? *mask : image, left, 0, width_, height_, kTransparent);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      const bool transparent =
          image.Pixel(left + x, y) < 0 || (mask != nullptr && IsWhite(picture.mask->Pixel(x, y)));
      picture.mask->SetPixel(x, y, transparent ? kTransparent : kOpaque);
      if (transparent) picture.image->SetPixel(x, y, kOpaque);
    }
  return picture;
}

int TCustomImageList::Add(const TBitmap& image, const TBitmap* mask) {
  if (image.Empty()) return -1;
  const int first = Count();
  const int cells = std::max(image.Width() / width_, 1);
  for (int cell = 0; cell < cells; ++cell)
    images_.push_back(Cut(image, mask, cell));
  Changed();
  return first;
}

int TCustomImageList::AddMasked(const TBitmap& image, TColor maskColor) {
  if (image.Empty()) return -1;
  TBitmap mask;
  mask.SetSize(image.Width(), image.Height());
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      mask.SetPixel(x, y, image.Pixel(x, y) == maskColor ? kTransparent : kOpaque);
  return Add(image, &mask);
}

void TCustomImageList::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  images_.erase(images_.begin() + index);
  Changed();
}

void TCustomImageList::Clear() {
  if (images_.empty()) return;
  images_.clear();
  Changed();
}

void TCustomImageList::Draw(TCanvas& canvas, int x, int y, int index) const {
  if (index < 0 || index >= Count()) return;
  const Picture& picture = images_[static_cast<std::size_t>(index)];
  const std::uint32_t mode = canvas.CopyMode();
  if (picture.mask != nullptr) {
    canvas.SetCopyMode(SRCAND);
    canvas.Draw(x, y, *picture.mask);
    canvas.SetCopyMode(SRCPAINT);
  } else {
    canvas.SetCopyMode(SRCCOPY);
  }
  canvas.Draw(x, y, *picture.image);
  canvas.SetCopyMode(mode);
}

bool TCustomImageList::GetBitmap(int index, TBitmap& bitmap) const {
  if (index < 0 || index >= Count()) return false;
  bitmap.SetSize(width_, height_);
  Draw(bitmap.Canvas(), 0, 0, index);
  return true;
}

std::string TCustomImageList::BitmapBytes() const {
  if (images_.empty()) return {};
  TBitmap strip;
  strip.SetSize(width_ * Count(), height_ * 2);
  for (int i = 0; i < Count(); ++i) {
    const Picture& picture = images_[static_cast<std::size_t>(i)];
    Paste(strip, *picture.image, i * width_, 0);
    if (picture.mask != nullptr) Paste(strip, *picture.mask, i * width_, height_);
  }
  return strip.SaveToBytes();
}

void TCustomImageList::SetBitmapBytes(const std::string& bytes) {
  if (bytes.empty()) return Clear();
  TBitmap strip;
  strip.LoadFromBytes(bytes);
  const auto images = Crop(strip, 0, 0, strip.Width(), height_, kOpaque);
  const bool withMasks = strip.Height() >= 2 * height_;
  const auto masks = Crop(strip, 0, height_, strip.Width(), height_, kTransparent);
  images_.clear();
  if (Add(*images, withMasks ? masks.get() : nullptr) < 0) Changed();
}

void TCustomImageList::Changed() {
  OnChange(this);
}

const ClassInfo& TImageList::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TImageList>("TImageList", &TCustomImageList::StaticClassInfo())
          .creatable()
          .build();
  return info;
}

}  // namespace ox
