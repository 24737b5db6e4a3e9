#pragma once
// A control without a window: its parent's window paints it (after the parent's own
// painting, under the parent's windowed children) and passes it the mouse.

#include <memory>

#include "platform/controls/TControl.h"

namespace bw {

class TCanvas;

class TGraphicControl : public TControl {
  BW_CLASS(TGraphicControl, TControl)

 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;

  /// Draws only while the control paints.
  TCanvas* Canvas() const { return FCanvas.get(); }

 protected:
  virtual void Paint();
  void Dispatch(TMessage& Message) override;
  /// WParam carries the parent's canvas, set up with this control's origin and clip.
  virtual void WMPaint(TMessage& Message);

 private:
  std::unique_ptr<TCanvas> FCanvas;
};

}  // namespace bw
