#pragma once
// A bitmap: 32-bit pixels in memory with a canvas to draw on them, read from and written
// to BMP files at 1, 4, 8, 24 and 32 bits per pixel, and written as PNG.

#include <memory>
#include <vector>

#include "platform/core/TEvent.h"
#include "platform/core/TPersistent.h"
#include "platform/graphics/TBitmapImage.h"
#include "platform/graphics/TCanvas.h"

namespace bw {

enum TTransparentMode { tmAuto, tmFixed };

class TStream;

class TBitmap : public TPersistent {
  BW_CLASS(TBitmap, TPersistent)

 public:
  TBitmap();
  ~TBitmap() override;

  /// Copies the image of another bitmap (null empties this one); EConvertError for any
  /// other kind of source.
  void Assign(TPersistent* Source) override;
  /// Stores the image in form files as the binary property "Data" (see ReadData); an
  /// empty bitmap stores nothing.
  void DefineProperties(TFiler* Filer) override;

  int32_t Width() const { return FImage ? FImage->Width : 0; }
  void SetWidth(int32_t value) { SetSize(value, Height()); }
  int32_t Height() const { return FImage ? FImage->Height : 0; }
  void SetHeight(int32_t value) { SetSize(Width(), value); }
  /// Resizes keeping the pixels that stay inside; new pixels are white. Negative sizes
  /// count as 0; EInvalidGraphic when the image would not fit in memory.
  void SetSize(int32_t width, int32_t height);
  /// True when there are no pixels.
  bool Empty() const { return Width() == 0 || Height() == 0; }

  /// True for a two-colour image. Setting it turns every pixel that is not white black.
  bool Monochrome() const { return PixelFormat() == pf1bit; }
  void SetMonochrome(bool value);
  /// The depth written by SaveToFile; pixels in memory are always 32-bit. Choosing pf1bit
  /// makes the image monochrome; choosing 4 or 8 bits keeps colours that the palette
  /// cannot hold until the bitmap is saved, where each takes the nearest entry.
  TPixelFormat PixelFormat() const { return FImage ? FImage->PixelFormat : pfDevice; }
  void SetPixelFormat(TPixelFormat value);

  /// Whether Draw leaves out the pixels of TransparentColor; default false.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  /// With tmAuto (the default) the bottom-left pixel's colour, else the colour set.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor value);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode value);

  /// Draws on the pixels; every drawing call raises the bitmap's OnChange.
  TCanvas* Canvas();

  /// The image this bitmap owns (null when it has none).
  HBITMAP Handle() const { return FImage.get(); }
  /// Takes over an image (the bitmap frees it later) and drops the previous one.
  void SetHandle(HBITMAP value);
  /// Gives up the image: the caller owns it and the bitmap becomes empty.
  HBITMAP ReleaseHandle();

  /// Row y of the pixels (0x00RRGGBB); EInvalidGraphic when y is out of range.
  uint32_t* ScanLine(int32_t y);
  const uint32_t* ScanLine(int32_t y) const;

  /// BMP files. Loading reads everything before it changes the bitmap: a bad file raises
  /// EInvalidGraphic and leaves the bitmap as it was.
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName) const;
  /// Reads a BMP file from the stream's position to its end.
  void LoadFromStream(TStream* Stream);
  void SaveToStream(TStream* Stream) const;
  void LoadFromMemory(const uint8_t* Data, size_t Size);
  std::vector<uint8_t> SaveToMemory() const;

  /// The bytes a form file stores for a bitmap (its "Data"): a 32-bit length N, then the
  /// N bytes of the BMP file. Reading checks N against the stream and, like loading,
  /// changes nothing on bad data.
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream) const;

  /// PNG export (24-bit colour).
  void SaveToPngFile(const String& FileName) const;
  std::vector<uint8_t> SaveToPngMemory() const;

  TNotifyEvent OnChange;

 protected:
  virtual void Changed();

 private:
  friend class TBitmapCanvas;
  TBitmapImage& Image();

  std::unique_ptr<TBitmapImage> FImage;
  std::unique_ptr<TCanvas> FCanvas;
  bool FTransparent = false;
  TTransparentMode FTransparentMode = tmAuto;
  TColor FTransparentColor = clDefault;
};

}  // namespace bw
