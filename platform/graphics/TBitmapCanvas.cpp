#include "platform/graphics/TBitmapCanvas.h"

#include "platform/graphics/TBitmap.h"

namespace bw {

TPixelBuffer TBitmapCanvas::Buffer() const {
  HBITMAP img = FBitmap->Handle();
  if (!img || img->Pixels.empty()) return {};
  return {img->Pixels.data(), img->Width, img->Height, img->Width};
}

}  // namespace bw
