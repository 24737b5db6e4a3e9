#include "platform/controls/TGraphicControl.h"

#include "platform/controls/TCustomControl.h"
#include "platform/graphics/TCanvas.h"

namespace bw {

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Paint() {}

void TGraphicControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT)
    WMPaint(Message);
  else
    inherited::Dispatch(Message);
}

void TGraphicControl::WMPaint(TMessage& Message) {
  auto* source = reinterpret_cast<TCanvas*>(Message.WParam);
  if (!source) return;
  PaintThrough(FCanvas.get(), source, [this] { Paint(); });
}

}  // namespace bw
