#include "editor/TEditButton.h"

#include "editor/TCustomInplaceComboEdit.h"
#include "platform/controls/TCustomEdit.h"
#include "platform/graphics/TCanvas.h"
#include "platform/graphics/TPen.h"

namespace bw {

TEditButton::TEditButton(TComponent* AOwner) : TSpeedButton(AOwner) {}

TCustomInplaceComboEdit* TEditButton::Editor() const {
  return dynamic_cast<TCustomInplaceComboEdit*>(Owner());
}

void TEditButton::Paint() {
  inherited::Paint();
  if (State() == bsDown) return;
  TCanvas* C = Canvas();
  C->Pen()->SetColor(NewStyleControls ? clBtnFace : clBtnShadow);
  C->MoveTo(0, 0);
  C->LineTo(0, Height() - 1);
  C->Pen()->SetColor(clBtnHighlight);
  C->MoveTo(1, 1);
  C->LineTo(1, Height() - 2);
}

void TEditButton::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TControlWatch watch(this);  // accepting the popup's value runs OnChange
  if (Button == mbLeft) {
    if (TCustomInplaceComboEdit* editor = Editor()) {
      // Read before anything closes: this press is the one that closes the popup.
      FIgnoreClick = editor->GetPopupVisible();
      const bool hadCapture = MouseCapture();
      editor->PopupCloseUp(true);
      if (!watch.Alive()) return;
      // Closing cancels the mouse mode of whoever holds it, this press included; the
      // press keeps the mouse, so that a release off the button ends it.
      if (hadCapture && !MouseCapture()) SetMouseCapture(true);
    } else {
      FIgnoreClick = false;
    }
  }
  inherited::MouseDown(Button, Shift, X, Y);
}

void TEditButton::Click() {
  if (FIgnoreClick) {
    FIgnoreClick = false;
    return;
  }
  inherited::Click();
}

}  // namespace bw
