#pragma once
// A push button: clicked by the mouse (press and release inside), by Space while it has
// the focus, and through the form's dialog keys: Enter reaches the default button (or the
// focused button), Escape the cancel button. A click sets the form's ModalResult.

#include "platform/controls/TCustomControl.h"
#include "platform/controls/TCustomForm.h"

namespace bw {

class TButton : public TCustomControl {
  BW_CLASS(TButton, TCustomControl)

 public:
  /// A new button is 75x25 and a tab stop.
  explicit TButton(TComponent* AOwner);

  /// Default false: Enter anywhere on the form clicks the button unless another button
  /// has the focus.
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  /// Default false: Escape anywhere on the form clicks the button.
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  /// Default mrNone: the form's ModalResult becomes this on a click.
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  /// True while the button acts as the form's default (drawn with the heavy frame).
  bool IsActiveDefault() const { return FActive; }
  /// True while the button is drawn pressed.
  bool IsDown() const { return FDown; }

  void Click() override;
  TColor DefaultColor() const override { return clBtnFace; }

 protected:
  void Paint() override;
  void DefaultHandler(TMessage& Message) override;
  void CMDialogKey(TMessage& Message) override;
  void CMFocusChanged(TMessage& Message) override;

 private:
  void SetDown(bool Value);

  bool FDefault = false;
  bool FCancel = false;
  bool FActive = false;
  bool FDown = false;
  TModalResult FModalResult = mrNone;
};

}  // namespace bw
