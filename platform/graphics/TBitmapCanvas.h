#pragma once
// The canvas of a bitmap: it draws straight into the bitmap's pixels, following the
// bitmap through size changes.

#include "platform/graphics/TCanvas.h"

namespace bw {

class TBitmap;

class TBitmapCanvas : public TCanvas {
  BW_CLASS(TBitmapCanvas, TCanvas)

 public:
  explicit TBitmapCanvas(TBitmap* bitmap) : FBitmap(bitmap) {}
  TPixelBuffer Buffer() const override;

 private:
  TBitmap* FBitmap;
};

}  // namespace bw
