#include "platform/controls/TCustomControl.h"

#include "platform/graphics/TCanvas.h"

namespace bw {

void PaintThrough(TCanvas* Own, TCanvas* Source, const std::function<void()>& Paint) {
  Own->SetBuffer(Source->Buffer());
  Own->SetOrigin(Source->Origin());
  Own->ResetClip();
  if (Source->HasClip()) Own->SetClipRect(Source->ClipRect());
  auto unbind = [Own] {
    Own->SetBuffer(TPixelBuffer());
    Own->ResetClip();
  };
  try {
    Paint();
  } catch (...) {
    unbind();
    throw;
  }
  unbind();
}

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::Paint() {}

void TCustomControl::PaintWindow(TCanvas* ACanvas) {
  PaintThrough(FCanvas.get(), ACanvas, [this] { Paint(); });
}

}  // namespace bw
