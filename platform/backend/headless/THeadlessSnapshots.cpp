// Snapshots of the headless screen as bitmaps and PNG files.

#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/graphics/TBitmap.h"

namespace bw {

std::unique_ptr<TBitmap> THeadlessBackend::SnapshotWindow(TWindowId Window) const {
  const TSurface* s = Find(Window);
  if (!s)
    throw EInvalidOperation(Format("No window %s to take a snapshot of", {std::to_string(Window)}));
  auto bitmap = std::make_unique<TBitmap>();
  int32_t w = s->Params.Bounds.Width(), h = s->Params.Bounds.Height();
  bitmap->SetSize(w, h);
  for (int32_t y = 0; y < h; ++y) {
    uint32_t* row = bitmap->ScanLine(y);
    for (int32_t x = 0; x < w; ++x)
      row[x] = WindowPixel(Window, x, y);
  }
  return bitmap;
}

std::unique_ptr<TBitmap> THeadlessBackend::SnapshotScreen() const {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(FScreenWidth, FScreenHeight);
  for (int32_t y = 0; y < FScreenHeight; ++y) {
    uint32_t* row = bitmap->ScanLine(y);
    for (int32_t x = 0; x < FScreenWidth; ++x)
      row[x] = DesktopColor;
  }
  for (TWindowId id : WindowStack()) {
    const TRect& b = Find(id)->Params.Bounds;
    TRect visible = b.Intersect(Bounds(0, 0, FScreenWidth, FScreenHeight));
    for (int32_t y = visible.Top; y < visible.Bottom; ++y) {
      uint32_t* row = bitmap->ScanLine(y);
      for (int32_t x = visible.Left; x < visible.Right; ++x)
        row[x] = WindowPixel(id, x - b.Left, y - b.Top);
    }
  }
  return bitmap;
}

void THeadlessBackend::SaveWindowPng(TWindowId Window, const String& FileName) const {
  SnapshotWindow(Window)->SaveToPngFile(FileName);
}

void THeadlessBackend::SaveScreenPng(const String& FileName) const {
  SnapshotScreen()->SaveToPngFile(FileName);
}

}  // namespace bw
