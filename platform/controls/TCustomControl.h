#pragma once
// A windowed control that paints itself: Paint draws on Canvas, which is set up with the
// control's origin and clip while the window is painted.

#include <functional>
#include <memory>

#include "platform/controls/TWinControl.h"

namespace bw {

class TCanvas;

class TCustomControl : public TWinControl {
  BW_CLASS(TCustomControl, TWinControl)

 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;

  /// Draws only while the control paints; outside Paint it has no pixels to draw on.
  TCanvas* Canvas() const { return FCanvas.get(); }

 protected:
  virtual void Paint();
  void PaintWindow(TCanvas* ACanvas) override;

 private:
  std::unique_ptr<TCanvas> FCanvas;
};

/// Runs Paint with Own drawing on the pixels, origin and clip of Source; afterwards, also
/// when Paint throws, Own holds no pixels again.
void PaintThrough(TCanvas* Own, TCanvas* Source, const std::function<void()>& Paint);

}  // namespace bw
