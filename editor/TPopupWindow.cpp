#include "editor/TPopupWindow.h"

#include "editor/TCustomInplaceComboEdit.h"
#include "platform/core/Exception.h"

namespace bw {

namespace {

TCustomInplaceComboEdit* EditorOf(TComponent* AOwner) {
  auto* editor = dynamic_cast<TCustomInplaceComboEdit*>(AOwner);
  if (!editor) throw EInvalidOperation("A popup window must be owned by an in-place combo editor");
  return editor;
}

}  // namespace

TPopupWindow::TPopupWindow(TComponent* AOwner) : TCustomControl(AOwner), FEditor(EditorOf(AOwner)) {
  FControlStyle += TControlStyle{csAcceptsControls, csNoDesignVisible, csReplicatable};
  SetCtl3D(false);
  SetParentCtl3D(false);
  SetVisible(false);
  SetParent(FEditor);
  TCustomInplaceComboEdit* editor = FEditor;
  OnMouseUp =
      TMouseEvent([editor](TObject* Sender, TMouseButton Button, TShiftState Shift, int32_t X,
                           int32_t Y) { editor->PopupMouseUp(Sender, Button, Shift, X, Y); });
}

void TPopupWindow::CloseUp(bool Accept) {
  FEditor->PopupCloseUp(Accept);
}

void TPopupWindow::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.WindowClassStyle |= CS_SAVEBITS;
}

void TPopupWindow::WMMouseActivate(TMessage& Message) {
  Message.Result = MA_NOACTIVATE;
}

}  // namespace bw
