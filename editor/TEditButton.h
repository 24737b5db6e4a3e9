#pragma once
// The speed button at the right edge of an in-place combo editor. It draws a two-pixel
// separator along its left edge, and a left press on it first closes the editor's open
// popup, accepting its value; the click that completes that press is swallowed, so the
// popup does not drop down again straight away. The button's owner is its editor.

#include "platform/controls/TSpeedButton.h"

namespace bw {

class TCustomInplaceComboEdit;

class TEditButton : public TSpeedButton {
  BW_CLASS(TEditButton, TSpeedButton)

 public:
  explicit TEditButton(TComponent* AOwner);

  /// True while the next click is to be swallowed: the last left press closed a popup.
  bool IgnoresNextClick() const { return FIgnoreClick; }

  void Click() override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;

 private:
  TCustomInplaceComboEdit* Editor() const;

  bool FIgnoreClick = false;
};

}  // namespace bw
