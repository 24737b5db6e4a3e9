#include "platform/graphics/TBitmap.h"

#include <algorithm>

#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/core/TFiler.h"
#include "platform/core/TStream.h"
#include "platform/graphics/EInvalidGraphic.h"
#include "platform/graphics/ImageFormats.h"
#include "platform/graphics/TBitmapCanvas.h"

namespace bw {

namespace {
constexpr int64_t kMaxPixels = int64_t{1} << 28;
}

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() = default;

void TBitmap::Changed() {
  if (OnChange) OnChange(this);
}

TBitmapImage& TBitmap::Image() {
  if (!FImage) {
    FImage = std::make_unique<TBitmapImage>();
    FImage->Owner.Bitmap = this;
  }
  return *FImage;
}

void TBitmap::Assign(TPersistent* Source) {
  if (!Source) {
    FImage.reset();
    Changed();
    return;
  }
  auto* src = dynamic_cast<TBitmap*>(Source);
  if (!src) {
    inherited::Assign(Source);
    return;
  }
  if (src == this) return;
  FImage = src->FImage ? std::make_unique<TBitmapImage>(*src->FImage) : nullptr;
  if (FImage) FImage->Owner.Bitmap = this;
  FTransparent = src->FTransparent;
  FTransparentMode = src->FTransparentMode;
  FTransparentColor = src->FTransparentColor;
  Changed();
}

void TBitmap::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "Data", [this](TStream* Stream) { ReadData(Stream); },
      [this](TStream* Stream) { WriteData(Stream); }, !Empty());
}

void TBitmap::SetSize(int32_t width, int32_t height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (width == Width() && height == Height()) return;
  if (int64_t{width} * height > kMaxPixels)
    throw EInvalidGraphic(Format("A bitmap of %sx%s pixels is too large",
                                 {std::to_string(width), std::to_string(height)}));
  TBitmapImage& img = Image();
  std::vector<uint32_t> pixels(size_t(width) * size_t(height), 0xFFFFFF);
  const int32_t cw = std::min(width, img.Width), ch = std::min(height, img.Height);
  for (int32_t y = 0; y < ch && cw > 0; ++y)
    std::copy_n(img.Pixels.data() + size_t(y) * size_t(img.Width), cw,
                pixels.data() + size_t(y) * size_t(width));
  img.Pixels = std::move(pixels);
  img.Width = width;
  img.Height = height;
  Changed();
}

void TBitmap::SetMonochrome(bool value) {
  if (value == Monochrome()) return;
  SetPixelFormat(value ? pf1bit : pfDevice);
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
  if (value == PixelFormat()) return;
  TBitmapImage& img = Image();
  img.PixelFormat = value;
  if (value == pf1bit) {
    // Converting to two colours keeps white and makes every other colour black.
    for (uint32_t& p : img.Pixels)
      p = (p & 0xFFFFFF) == 0xFFFFFF ? 0xFFFFFF : 0;
    img.Palette = {0x000000, 0xFFFFFF};
  } else if (value != pf4bit && value != pf8bit) {
    img.Palette.clear();
  }
  Changed();
}

void TBitmap::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  Changed();
}

TColor TBitmap::TransparentColor() const {
  if (FTransparentMode == tmFixed) return FTransparentColor;
  if (Empty()) return clDefault;
  return PixelToColor(FImage->Pixels[size_t(Height() - 1) * size_t(Width())]);
}

void TBitmap::SetTransparentColor(TColor value) {
  if (value == FTransparentColor && FTransparentMode == tmFixed) return;
  FTransparentColor = value;
  FTransparentMode = value == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
  if (value == FTransparentMode) return;
  if (value == tmAuto)
    SetTransparentColor(clDefault);
  else
    SetTransparentColor(TransparentColor());
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) {
    FCanvas = std::make_unique<TBitmapCanvas>(this);
    // Drawing on the canvas changes the image, so holders of the bitmap hear of it.
    FCanvas->OnChange = [this](TObject*) { Changed(); };
  }
  return FCanvas.get();
}

void TBitmap::SetHandle(HBITMAP value) {
  if (value == FImage.get()) return;
  if (value && value->Owner.Bitmap) {
    // Another bitmap still owns that image and will free it: take a copy.
    FImage = std::make_unique<TBitmapImage>(*value);
  } else {
    FImage.reset(value);
  }
  if (FImage) FImage->Owner.Bitmap = this;
  Changed();
}

HBITMAP TBitmap::ReleaseHandle() {
  HBITMAP h = FImage.release();
  if (h) {
    h->Owner.Bitmap = nullptr;
    Changed();
  }
  return h;
}

uint32_t* TBitmap::ScanLine(int32_t y) {
  if (y < 0 || y >= Height())
    throw EInvalidGraphic(Format("Scan line %s is out of range", {std::to_string(y)}));
  return &FImage->Pixels[size_t(y) * size_t(Width())];
}

const uint32_t* TBitmap::ScanLine(int32_t y) const {
  return const_cast<TBitmap*>(this)->ScanLine(y);
}

void TBitmap::LoadFromMemory(const uint8_t* Data, size_t Size) {
  std::unique_ptr<TBitmapImage> img = ReadBmp(Data, Size);
  img->Owner.Bitmap = this;
  FImage = std::move(img);
  Changed();
}

std::vector<uint8_t> TBitmap::SaveToMemory() const {
  static const TBitmapImage empty;
  return WriteBmp(FImage ? *FImage : empty);
}

void TBitmap::LoadFromStream(TStream* Stream) {
  const int64_t left = Stream->Size() - Stream->Position();
  if (left > int64_t{1} << 30) throw EInvalidGraphic("Invalid bitmap: the stream is too large");
  std::vector<uint8_t> data(size_t(std::max<int64_t>(0, left)));
  if (!data.empty()) Stream->ReadBuffer(data.data(), int32_t(data.size()));
  LoadFromMemory(data.data(), data.size());
}

void TBitmap::SaveToStream(TStream* Stream) const {
  std::vector<uint8_t> data = SaveToMemory();
  Stream->WriteBuffer(data.data(), int32_t(data.size()));
}

void TBitmap::ReadData(TStream* Stream) {
  uint8_t sizeBytes[4];
  Stream->ReadBuffer(sizeBytes, 4);
  const uint32_t size = uint32_t(sizeBytes[0]) | (uint32_t(sizeBytes[1]) << 8) |
                        (uint32_t(sizeBytes[2]) << 16) | (uint32_t(sizeBytes[3]) << 24);
  if (int64_t{size} > Stream->Size() - Stream->Position())
    throw EInvalidGraphic("Invalid bitmap: the stored data is shorter than its length says");
  std::vector<uint8_t> data(size);
  if (size) Stream->ReadBuffer(data.data(), int32_t(size));
  if (size == 0) {
    // Nothing stored: an empty bitmap.
    FImage.reset();
    Changed();
    return;
  }
  LoadFromMemory(data.data(), data.size());
}

void TBitmap::WriteData(TStream* Stream) const {
  std::vector<uint8_t> data = Empty() ? std::vector<uint8_t>{} : SaveToMemory();
  const uint32_t size = uint32_t(data.size());
  const uint8_t sizeBytes[4] = {uint8_t(size), uint8_t(size >> 8), uint8_t(size >> 16),
                                uint8_t(size >> 24)};
  Stream->WriteBuffer(sizeBytes, 4);
  if (size) Stream->WriteBuffer(data.data(), int32_t(size));
}

void TBitmap::LoadFromFile(const String& FileName) {
  std::vector<uint8_t> data = ReadWholeFile(FileName);
  try {
    LoadFromMemory(data.data(), data.size());
  } catch (EInvalidGraphic& e) {
    e.SetMessage(e.Message() + " (in \"" + FileName + "\")");
    throw;
  }
}

void TBitmap::SaveToFile(const String& FileName) const {
  WriteWholeFile(FileName, SaveToMemory());
}

std::vector<uint8_t> TBitmap::SaveToPngMemory() const {
  static const TBitmapImage empty;
  return WritePng(FImage ? *FImage : empty);
}

void TBitmap::SaveToPngFile(const String& FileName) const {
  WriteWholeFile(FileName, SaveToPngMemory());
}

}  // namespace bw
