#include "platform/controls/TCustomControl.h"

#include "platform/graphics/TCanvas.h"

namespace bw {

void BindCanvas(TCanvas* Dest, TCanvas* Source) {
  Dest->SetBuffer(Source->Buffer());
  Dest->SetOrigin(Source->Origin());
  Dest->ResetClip();
  if (Source->HasClip()) Dest->SetClipRect(Source->ClipRect());
}

void UnbindCanvas(TCanvas* Canvas) {
  Canvas->SetBuffer(TPixelBuffer());
  Canvas->ResetClip();
}

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::Paint() {}

void TCustomControl::PaintWindow(TCanvas* ACanvas) {
  BindCanvas(FCanvas.get(), ACanvas);
  try {
    Paint();
  } catch (...) {
    UnbindCanvas(FCanvas.get());
    throw;
  }
  UnbindCanvas(FCanvas.get());
}

}  // namespace bw
