#pragma once
// The base of the drop-down window an in-place combo editor can show below (or above)
// itself. It is a captionless pop-up with a thin border, a top-level surface of its own
// that a click never activates, so the editor keeps the keyboard while it is open. It
// lives inside its editor (owner and parent), tells the editor of its left-button
// releases, and exchanges the editor's text through GetValue and SetValue, which
// descendants implement. The package defines no concrete popup.

#include "platform/controls/TCustomControl.h"

namespace bw {

class TCustomInplaceComboEdit;

class TPopupWindow : public TCustomControl {
  BW_CLASS(TPopupWindow, TCustomControl)

 public:
  /// AOwner must be the in-place combo editor the popup serves (EInvalidOperation
  /// otherwise). A new popup is hidden.
  explicit TPopupWindow(TComponent* AOwner);

  /// The value chosen in the popup, as text; the editor reads it when the popup closes.
  virtual String GetValue() = 0;
  /// Shows Value as the popup's current value; the editor calls it just before it shows
  /// the popup.
  virtual void SetValue(const String& Value) = 0;
  /// Closes the popup through the editor: Accept true offers the chosen value to it.
  virtual void CloseUp(bool Accept);

  TCustomInplaceComboEdit* Editor() const { return FEditor; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  /// A click into the popup does not activate it.
  void WMMouseActivate(TMessage& Message) override;

 private:
  TCustomInplaceComboEdit* FEditor;
};

}  // namespace bw
