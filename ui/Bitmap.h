// Bitmaps with real pixels: every pixel is held as a 24-bit colour (0x00BBGGRR) in one
// contiguous block, rows from the top. Copies share the pixels until one of them is
// drawn on (Assign is cheap, as are the snapshots a canvas records). Windows .bmp files
// are read (1, 4 and 8 bits with a colour table, 24 bits) and written (24 bits).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Canvas.h"
#include "ui/Classes.h"
#include "ui/Graphics.h"

namespace ox {

// A bitmap file that is malformed or of a kind not supported, or a size too large.
class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EInvalidGraphic"; }
};

// The pixels of a bitmap.
struct TBitmapImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // width * height colours, row after row from the top
  std::uint32_t At(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

// The nearer of black and white to a colour (by distance in RGB space): what a
// monochrome bitmap stores for it.
std::uint32_t NearestMonochrome(std::uint32_t rgb);

// How a bitmap stores its pixels. Pixels are always held at 24 bits; pf1bit (monochrome)
// also turns every colour drawn into the nearer of black and white.
enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

// tmAuto: the transparent colour is that of the bottom-left pixel (white for a
// monochrome bitmap); tmFixed: the colour set.
enum class TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TPersistent {
 public:
  OX_CLASS_INFO()
  // The largest width and height accepted, from files or code.
  static constexpr int kMaxSide = 16384;

  TBitmap();
  ~TBitmap() override;
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int Width() const { return image_->width; }
  int Height() const { return image_->height; }
  bool Empty() const { return image_->width == 0 || image_->height == 0; }
  void SetWidth(int width) { SetSize(width, Height()); }
  void SetHeight(int height) { SetSize(Width(), height); }
  // Keeps the pixels that stay inside; new pixels are white. A negative side counts
  // as 0; a side above kMaxSide raises EInvalidGraphic.
  void SetSize(int width, int height);

  TPixelFormat PixelFormat() const { return pixelFormat_; }
  void SetPixelFormat(TPixelFormat format);
  bool Monochrome() const { return pixelFormat_ == TPixelFormat::pf1bit; }
  void SetMonochrome(bool monochrome);

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  // The colour Draw leaves out when Transparent (see TTransparentMode); -1 for an empty
  // bitmap in tmAuto.
  TColor TransparentColor() const;
  // Sets the colour and tmFixed.
  void SetTransparentColor(TColor color);
  TTransparentMode TransparentMode() const { return transparentMode_; }
  // tmAuto forgets a colour set before.
  void SetTransparentMode(TTransparentMode mode);

  // The canvas that draws on this bitmap (records and changes the pixels).
  TCanvas& Canvas();
  // A pixel without going through the canvas (nothing is recorded): -1 outside.
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);
  const TBitmapImage& Image() const { return *image_; }
  // The pixels as they are now; later drawing does not change the snapshot.
  std::shared_ptr<const TBitmapImage> Snapshot() const { return image_; }

  // From another bitmap: its pixels, format and transparency settings.
  void Assign(const TPersistent& source) override;
  // Turns the bitmap into its monochrome mask: pixels of the colour white, all others
  // black.
  void Mask(TColor transparentColor);

  // Reads a .bmp file given as a Windows path text. Raises EFOpenError when it cannot
  // be read and EInvalidGraphic when it is malformed; the bitmap is unchanged then.
  void LoadFromFile(std::string_view winPath);
  // Writes a 24-bit .bmp file; raises EFCreateError when it cannot be written.
  void SaveToFile(std::string_view winPath) const;
  // The same for the bytes of a .bmp file (as stored in form resources).
  void LoadFromBytes(std::string_view bytes);
  std::string SaveToBytes() const;

  // Called after any change of size, format, transparency or pixels.
  TNotifyEvent OnChange;

 private:
  friend class TCanvas;
  // The pixels to draw on, no longer shared with any copy or snapshot.
  TBitmapImage& MutableImage();
  void Changed();

  std::shared_ptr<TBitmapImage> image_;
  TPixelFormat pixelFormat_ = TPixelFormat::pf24bit;
  bool transparent_ = false;
  TColor transparentColor_ = clDefault;
  TTransparentMode transparentMode_ = TTransparentMode::tmAuto;
  std::unique_ptr<TCanvas> canvas_;
};

}  // namespace ox
