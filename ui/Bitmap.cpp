#include "ui/Bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/WinPath.h"

namespace ox {

std::uint32_t NearestMonochrome(std::uint32_t rgb) {
  // Nearer white exactly when r² + g² + b² > (255 - r)² + (255 - g)² + (255 - b)², that
  // is when r + g + b > 382.5.
  const std::uint32_t sum = (rgb & 0xFF) + ((rgb >> 8) & 0xFF) + ((rgb >> 16) & 0xFF);
  return sum >= 383 ? 0xFFFFFF : 0x000000;
}

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

[[noreturn]] void InvalidBitmap() {
  throw EInvalidGraphic("Bitmap image is not valid");
}

std::shared_ptr<TBitmapImage> NewImage(int width, int height, std::uint32_t fill) {
  auto image = std::make_shared<TBitmapImage>();
  image->width = width;
  image->height = height;
  image->pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
  return image;
}

// ---- .bmp files --------------------------------------------------------------
// BITMAPFILEHEADER (14 bytes), then BITMAPCOREHEADER (12 bytes, 16-bit sizes, colour
// table of RGB triples) or BITMAPINFOHEADER and its later versions (40 to 124 bytes,
// colour table of RGB quads), then the rows, each padded to 4 bytes, from the bottom
// unless the height is negative. Every field is checked against the file's size before
// it is used.

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

// Little-endian fields of a byte block whose bounds the caller has checked.
std::uint32_t Field(std::string_view bytes, std::size_t pos, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = (value << 8) | static_cast<unsigned char>(bytes[pos + static_cast<std::size_t>(i)]);
  return value;
}

std::uint32_t Byte(std::string_view bytes, std::size_t pos) {
  return static_cast<unsigned char>(bytes[pos]);
}

// A colour stored as blue, green, red.
std::uint32_t FileColor(std::string_view bytes, std::size_t pos) {
  return Byte(bytes, pos + 2) | Byte(bytes, pos + 1) << 8 | Byte(bytes, pos) << 16;
}

struct BmpLayout {
  std::int64_t width = 0;
  std::int64_t height = 0;
  bool topDown = false;
  int bitCount = 0;
  std::vector<std::uint32_t> palette;
  std::size_t rowStride = 0;
  std::size_t pixelsAt = 0;
};

BmpLayout ReadLayout(std::string_view bytes) {
  if (bytes.size() < kFileHeaderSize + 12 || bytes[0] != 'B' || bytes[1] != 'M') InvalidBitmap();
  BmpLayout layout;
  const std::size_t headerSize = Field(bytes, 14, 4);
  const bool core = headerSize == 12;
  if (!core && (headerSize < kInfoHeaderSize || headerSize > 124)) InvalidBitmap();
  if (bytes.size() < kFileHeaderSize + headerSize) InvalidBitmap();
  std::uint32_t planes = 0;
  std::uint32_t colorsUsed = 0;
  if (core) {
    layout.width = Field(bytes, 18, 2);
    layout.height = Field(bytes, 20, 2);
    planes = Field(bytes, 22, 2);
    layout.bitCount = static_cast<int>(Field(bytes, 24, 2));
  } else {
    layout.width = static_cast<std::int32_t>(Field(bytes, 18, 4));
    layout.height = static_cast<std::int32_t>(Field(bytes, 22, 4));
    planes = Field(bytes, 26, 2);
    layout.bitCount = static_cast<int>(Field(bytes, 28, 2));
    if (Field(bytes, 30, 4) != 0) InvalidBitmap();  // compressed or bit fields
    colorsUsed = Field(bytes, 46, 4);
  }
  layout.topDown = layout.height < 0;
  layout.height = std::llabs(layout.height);
  if (planes != 1 || layout.width < 0 || layout.width > TBitmap::kMaxSide ||
      layout.height > TBitmap::kMaxSide)
    InvalidBitmap();
  const int bits = layout.bitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) InvalidBitmap();

  std::size_t pos = kFileHeaderSize + headerSize;
  if (bits <= 8) {
    const std::size_t entries = colorsUsed != 0 ? colorsUsed : std::size_t{1} << bits;
    const std::size_t entrySize = core ? 3 : 4;
    if (entries > (std::size_t{1} << bits) || bytes.size() - pos < entries * entrySize)
      InvalidBitmap();
    for (std::size_t i = 0; i < entries; ++i, pos += entrySize)
      layout.palette.push_back(FileColor(bytes, pos));
  }
  layout.rowStride = static_cast<std::size_t>((layout.width * bits + 31) / 32 * 4);
  layout.pixelsAt = Field(bytes, 10, 4);
  if (layout.pixelsAt < pos || layout.pixelsAt > bytes.size() ||
      (bytes.size() - layout.pixelsAt) / std::max<std::size_t>(layout.rowStride, 1) <
          static_cast<std::size_t>(layout.height))
    InvalidBitmap();
  return layout;
}

// The colour of pixel x in a row of the file.
std::uint32_t FilePixel(std::string_view row, const BmpLayout& layout, std::size_t x) {
  if (layout.bitCount == 24) return FileColor(row, x * 3);
  const auto bits = static_cast<std::size_t>(layout.bitCount);
  const std::size_t bitPos = x * bits;
  const std::size_t index = (Byte(row, bitPos / 8) >> (8 - bits - bitPos % 8)) & ((1u << bits) - 1);
  // An index beyond the colour table shows black.
  return index < layout.palette.size() ? layout.palette[index] : 0;
}

TPixelFormat FormatOfBits(int bits) {
  switch (bits) {
    case 1:
      return TPixelFormat::pf1bit;
    case 4:
      return TPixelFormat::pf4bit;
    case 8:
      return TPixelFormat::pf8bit;
    default:
      return TPixelFormat::pf24bit;
  }
}

void PutField(std::string& out, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i)
    out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The largest file a bitmap of kMaxSide x kMaxSide at 24 bits can take.
constexpr std::uintmax_t kMaxFileSize =
    kFileHeaderSize + 124 + 256 * 4 +
    std::uintmax_t{TBitmap::kMaxSide} * 3 * std::uintmax_t{TBitmap::kMaxSide};

}  // namespace

// ---- TBitmap -----------------------------------------------------------------

const ClassInfo& TBitmap::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TBitmap>("TBitmap", &TPersistent::StaticClassInfo()).build();
  return info;
}

TBitmap::TBitmap() : image_(std::make_shared<TBitmapImage>()) {}
TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width > kMaxSide || height > kMaxSide) throw EInvalidGraphic("Bitmap size too large");
  if (width == Width() && height == Height()) return;
  auto image = NewImage(width, height, kWhite);
  const int keptWidth = std::min(width, Width());
  for (int y = 0; y < std::min(height, Height()); ++y) {
    const auto from = image_->pixels.begin() + static_cast<std::ptrdiff_t>(y) * Width();
    std::copy(from, from + keptWidth,
              image->pixels.begin() + static_cast<std::ptrdiff_t>(y) * width);
  }
  image_ = std::move(image);
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == pixelFormat_) return;
  if (format == TPixelFormat::pf1bit) {
    for (std::uint32_t& pixel : MutableImage().pixels)
      pixel = NearestMonochrome(pixel);
  }
  pixelFormat_ = format;
  Changed();
}

void TBitmap::SetMonochrome(bool monochrome) {
  if (monochrome)
    SetPixelFormat(TPixelFormat::pf1bit);
  else if (Monochrome())
    SetPixelFormat(TPixelFormat::pf24bit);
}

void TBitmap::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Changed();
}

TColor TBitmap::TransparentColor() const {
  if (transparentMode_ == TTransparentMode::tmFixed)
    return static_cast<TColor>(ColorToRGB(transparentColor_) & 0xFFFFFF);
  if (Monochrome()) return clWhite;
  return Pixel(0, Height() - 1);
}

void TBitmap::SetTransparentColor(TColor color) {
  if (color == transparentColor_) return;
  // clDefault stands for the automatic colour.
  transparentMode_ = color == clDefault ? TTransparentMode::tmAuto : TTransparentMode::tmFixed;
  transparentColor_ = color;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
  if (mode == transparentMode_) return;
  // Fixing the mode keeps the colour in use now.
  SetTransparentColor(mode == TTransparentMode::tmAuto ? clDefault : TransparentColor());
}

TCanvas& TBitmap::Canvas() {
  if (!canvas_) canvas_.reset(new TCanvas(this));
  return *canvas_;
}

TColor TBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return -1;
  return static_cast<TColor>(image_->At(x, y));
}

void TBitmap::SetPixel(int x, int y, TColor color) {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  const std::uint32_t rgb = ColorToRGB(color) & 0xFFFFFF;
  MutableImage().pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width()) +
                        static_cast<std::size_t>(x)] = Monochrome() ? NearestMonochrome(rgb) : rgb;
  Changed();
}

void TBitmap::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TBitmap*>(&source);
  if (other == nullptr) return TPersistent::Assign(source);
  if (other == this) return;
  image_ = other->image_;
  pixelFormat_ = other->pixelFormat_;
  transparent_ = other->transparent_;
  transparentColor_ = other->transparentColor_;
  transparentMode_ = other->transparentMode_;
  Changed();
}

void TBitmap::Mask(TColor transparentColor) {
  const std::uint32_t rgb = ColorToRGB(transparentColor) & 0xFFFFFF;
  auto mask = NewImage(Width(), Height(), 0);
  std::transform(image_->pixels.begin(), image_->pixels.end(), mask->pixels.begin(),
                 [rgb](std::uint32_t pixel) { return pixel == rgb ? kWhite : 0; });
  image_ = std::move(mask);
  pixelFormat_ = TPixelFormat::pf1bit;
  Changed();
}

void TBitmap::LoadFromBytes(std::string_view bytes) {
  const BmpLayout layout = ReadLayout(bytes);
  auto image = NewImage(static_cast<int>(layout.width), static_cast<int>(layout.height), 0);
  for (int y = 0; y < image->height; ++y) {
    const auto fileRow = static_cast<std::size_t>(layout.topDown ? y : image->height - 1 - y);
    const std::string_view row =
        bytes.substr(layout.pixelsAt + fileRow * layout.rowStride, layout.rowStride);
    for (int x = 0; x < image->width; ++x)
      image->pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image->width) +
                    static_cast<std::size_t>(x)] =
          FilePixel(row, layout, static_cast<std::size_t>(x));
  }
  image_ = std::move(image);
  pixelFormat_ = FormatOfBits(layout.bitCount);
  Changed();
}

std::string TBitmap::SaveToBytes() const {
  const auto stride = (static_cast<std::size_t>(Width()) * 3 + 3) / 4 * 4;
  const std::size_t imageSize = stride * static_cast<std::size_t>(Height());
  const std::size_t pixelsAt = kFileHeaderSize + kInfoHeaderSize;
  std::string out;
  out.reserve(pixelsAt + imageSize);
  out += "BM";
  PutField(out, static_cast<std::uint32_t>(pixelsAt + imageSize), 4);
  PutField(out, 0, 4);
  PutField(out, static_cast<std::uint32_t>(pixelsAt), 4);
  PutField(out, kInfoHeaderSize, 4);
  PutField(out, static_cast<std::uint32_t>(Width()), 4);
  PutField(out, static_cast<std::uint32_t>(Height()), 4);  // bottom-up rows
  PutField(out, 1, 2);                                     // planes
  PutField(out, 24, 2);                                    // bits per pixel
  PutField(out, 0, 4);                                     // uncompressed
  PutField(out, static_cast<std::uint32_t>(imageSize), 4);
  out.append(16, '\0');  // resolution and colour counts: none given
  for (int y = Height() - 1; y >= 0; --y) {
    const std::size_t rowStart = out.size();
    for (int x = 0; x < Width(); ++x) {
      const std::uint32_t rgb = image_->At(x, y);
      out += static_cast<char>((rgb >> 16) & 0xFF);
      out += static_cast<char>((rgb >> 8) & 0xFF);
      out += static_cast<char>(rgb & 0xFF);
    }
    out.resize(rowStart + stride, '\0');
  }
  return out;
}

void TBitmap::LoadFromFile(std::string_view winPath) {
  const std::filesystem::path file = ToNativePath(winPath);
  std::error_code error;
  const bool readable = !file.empty() && std::filesystem::is_regular_file(file, error);
  const std::uintmax_t size = readable ? std::filesystem::file_size(file, error) : 0;
  std::ifstream in;
  if (readable && !error) in.open(file, std::ios::binary);
  if (!in.is_open()) throw EFOpenError("Cannot open file \"" + std::string(winPath) + "\"");
  if (size > kMaxFileSize) InvalidBitmap();
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  LoadFromBytes(bytes);
}

void TBitmap::SaveToFile(std::string_view winPath) const {
  const std::filesystem::path file = ToNativePath(winPath);
  const std::string bytes = SaveToBytes();
  std::ofstream out;
  if (!file.empty()) out.open(file, std::ios::binary | std::ios::trunc);
  bool written = out.is_open();
  if (written) {
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    written = !out.fail();
  }
  if (!written) throw EFCreateError("Cannot create file \"" + std::string(winPath) + "\"");
}

TBitmapImage& TBitmap::MutableImage() {
  if (image_.use_count() > 1) image_ = std::make_shared<TBitmapImage>(*image_);
  return *image_;
}

void TBitmap::Changed() {
  OnChange(this);
}

}  // namespace ox
